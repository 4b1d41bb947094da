# Runs the benchmark in its quick mode, with a short hung read at the end, and checks that
# every figure is there as a number.
# The values are never judged here: they depend on the machine and its load.
execute_process(COMMAND "${BENCH}" --quick --json --stall 200
    OUTPUT_VARIABLE out RESULT_VARIABLE rc TIMEOUT 240)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tavorin-bench --quick --json --stall 200 failed (${rc}):\n${out}")
endif()
foreach(key pass_p50_ms pass_p99_ms pass_max_ms pass_work_p50_us pass_work_p99_us reads_per_s
        lane_err_p50_ms lane_err_p99_ms lane_err_max_ms machine_wake_p99_ms machine_wake_max_ms
        pulse_mean_dev_ms pulse_max_dev_ms
        cpu_idle_pct cpu_race_pct cpu_pulse_pct rss_peak_mb startup_ms flush_lag_p99_ms load
        stall_records stall_starts stall_ms)
    string(JSON type ERROR_VARIABLE err TYPE "${out}" ${key})
    if(err OR NOT type STREQUAL "NUMBER")
        message(FATAL_ERROR "figure ${key} missing or not a number in:\n${out}")
    endif()
endforeach()
string(JSON realtime ERROR_VARIABLE err GET "${out}" realtime)
if(err OR NOT realtime MATCHES "^(fifo|rr|rtkit|none)$")
    message(FATAL_ERROR "realtime missing or not fifo, rr, rtkit or none in:\n${out}")
endif()
string(JSON adapter ERROR_VARIABLE err GET "${out}" adapter)
if(err OR NOT adapter STREQUAL "uart")
    message(FATAL_ERROR "adapter missing or not uart (the default) in:\n${out}")
endif()
message(STATUS "every figure present")
