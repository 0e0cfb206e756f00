# Builds the sanitized TFTP fuzz test in its own folder (incrementally) and runs
# it. Called by ctest with -DSOURCE=<this folder> -DBINARY=<build folder>.
foreach(step
        "${CMAKE_COMMAND};-S;${SOURCE}/sanitized;-B;${BINARY};-G;Ninja;-DCMAKE_BUILD_TYPE=Debug"
        "${CMAKE_COMMAND};--build;${BINARY}"
        "${BINARY}/tftp_fuzz_sanitized")
    execute_process(COMMAND ${step} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${step}")
    endif()
endforeach()
