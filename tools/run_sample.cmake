# Runs Varisift on the shipped sample series in a fresh directory of the
# build tree, so that the sample in the repository stays untouched.
#   cmake -DVARISIFT=<binary> -DSAMPLE=<examples/sample> -DRUN_DIR=<dir> -P run_sample.cmake
file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}")
file(GLOB sample_files "${SAMPLE}/Skymensor.log" "${SAMPLE}/vsx.dat")
file(COPY ${sample_files} DESTINATION "${RUN_DIR}")
execute_process(COMMAND "${VARISIFT}" WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
message(STATUS "Varisift exited with ${status}; its report is ${RUN_DIR}/Varisift.log")
