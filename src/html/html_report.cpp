// The HTML report page.
#include "html/html_report.h"

namespace varisift {

std::string html_report(const ObservationStore& store, const DetectionResults& results,
                        const std::vector<StarIndices>& indices, const ReportPageContext& context) {
  (void)store;
  (void)results;
  (void)indices;
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Varisift report</title></head><body><p>" +
         context.folder_shown + "</p></body></html>\n";
}

}  // namespace varisift
