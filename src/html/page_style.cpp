// The page's style sheet. Markers differ by shape as well as colour, so the
// figures read in black and white too.
#include "html/page_style.h"

namespace varisift {

const std::string_view page_style = R"(
body{font-family:system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans",Arial,sans-serif;color:#1d232b;background:#fff;margin:0 auto;padding:16px 24px;max-width:1180px;line-height:1.4;font-size:15px}
h1{font-size:1.6em;margin:.2em 0}
h2{font-size:1.25em;margin:1.4em 0 .4em;border-bottom:1px solid #d5dae0;padding-bottom:.15em}
h3{font-size:1.05em;margin:0 0 .2em}
p{margin:.3em 0 .6em}
.run-header{color:#4a5561;margin-top:0}
.summary{display:flex;flex-wrap:wrap;gap:12px 40px;align-items:flex-start}
.counts{display:grid;grid-template-columns:auto auto;gap:2px 14px;margin:0}
.counts dt{color:#4a5561}
.counts dd{margin:0;font-weight:600;font-variant-numeric:tabular-nums}
.parameters{font-size:12.5px;background:#f5f7f9;border:1px solid #e1e5ea;padding:6px 10px;margin:0;white-space:pre-wrap}
table.candidates{border-collapse:collapse;font-size:13.5px;font-variant-numeric:tabular-nums;width:100%}
.candidates th,.candidates td{border-bottom:1px solid #e1e5ea;padding:3px 6px;text-align:right;white-space:nowrap}
.candidates th{background:#eef1f4;font-weight:600;vertical-align:bottom;white-space:normal}
.candidates tbody tr:nth-child(even){background:#f8f9fb}
.candidates .text{text-align:left}
.candidates td.vsx{white-space:normal;overflow-wrap:anywhere;min-width:10em}
.table-wrap{overflow-x:auto}
.candidates .none{color:#8a939c}
.candidates .flag{font-weight:600}
.position,.candidates td.position{font-family:ui-monospace,"DejaVu Sans Mono",Menlo,Consolas,monospace;white-space:pre;text-align:left}
.candidates td.position{font-size:12.5px}
a{color:#1a57a8}
.note{color:#4a5561;font-size:13.5px}
.curve{margin:18px 0 26px;break-inside:avoid}
.period-facts{display:flex;flex-wrap:wrap;gap:2px 24px;margin:8px 0 4px 64px;font-size:14px}
.period-facts div{display:flex;gap:6px}
.period-facts dt{color:#4a5561}
.period-facts dd{margin:0;font-weight:600;font-variant-numeric:tabular-nums}
svg{display:block;max-width:100%;height:auto;font-size:12px}
svg text{fill:#2b323a}
svg .axis-title{font-size:13px}
svg .frame{fill:none;stroke:#59636e}
svg .grid{fill:none;stroke:#e6e9ed}
svg .tick{fill:none;stroke:#59636e}
svg .night{fill:#edf2fa}
svg .night.alt{fill:#f7f1e6}
svg .band-label{fill:#5b6673}
svg .used{fill:#1f5fbf;stroke:#0d2f66;stroke-width:.6}
svg .outlier{fill:#f2a43a;stroke:#8a4b00;stroke-width:1}
svg .bad{fill:none;stroke:#c42b32;stroke-width:1.8}
svg .fence{fill:none;stroke:#7b858f;stroke-width:1.2;stroke-dasharray:7 4}
svg .edge-arrow{fill:#7b858f;stroke:#7b858f;stroke-width:1.2;stroke-linejoin:round}
svg .off-scale{fill:none;stroke:#b9826b;stroke-width:1;stroke-dasharray:4 3}
svg .median-line{fill:none;stroke:#a9b1b9;stroke-width:1;stroke-dasharray:2 3}
svg .line-label{fill:#59636e;font-size:11px}
svg .star{fill:none;stroke:#98a3ae;stroke-width:2.6;stroke-linecap:round}
svg .star-key{fill:#98a3ae}
svg .candidate{fill:#c42b32;stroke:#5e0f13;stroke-width:.8}
svg .index-flagged{fill:#f2a43a;stroke:#8a4b00;stroke-width:.8}
svg .plot-note{font-size:14px;fill:#5b6673}
svg .periodogram{fill:none;stroke:#1f5fbf;stroke-width:1.2;stroke-linejoin:round}
svg .chosen-peak{fill:#c42b32;stroke:#5e0f13;stroke-width:.8}
svg .alias-band{fill:#f4eef8;stroke:#e2d3ec;stroke-width:.6}
svg .phase-point{fill:none;stroke:#1f5fbf;stroke-width:5;stroke-linecap:round}
svg .phase-outlier{fill:none;stroke:#e08a1e;stroke-width:5;stroke-linecap:round}
svg .phase-key{fill:#1f5fbf}
svg .phase-outlier-key{fill:#e08a1e}
svg .model-curve{fill:none;stroke:#c42b32;stroke-width:1.6;stroke-linejoin:round}
footer{margin-top:2em;color:#6a747e;font-size:13px}
@media print{body{max-width:none;padding:0;font-size:10.5pt}.table-wrap{overflow:visible}table.candidates{font-size:7.5pt}.candidates th,.candidates td{padding:2px 3px}.candidates td.position{font-size:7pt}a{color:inherit}h2{break-after:avoid}.candidates tr{break-inside:avoid}}
)";

}  // namespace varisift
