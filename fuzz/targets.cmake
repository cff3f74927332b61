# The fuzz targets: one source each under fuzz/targets/, named after the
# outside input it feeds.  Shared by the libFuzzer build and the replay tests.
set(PRALIX_FUZZ_TARGETS
  fpsend_reply
  reply_fields
  printer_date_time
  link_ini_rewrite
  version_ini_reading
  diag_data_form
  text_conversions
  period_dates)
# The desk's ingest rules: only where the desk is built (Linux, Qt 6).
if(TARGET pralix_desk_core)
  list(APPEND PRALIX_FUZZ_TARGETS diagdata_form_decode)
endif()
set(PRALIX_FUZZ_DIR ${CMAKE_SOURCE_DIR}/fuzz)
