# The fuzz targets, shared by the libFuzzer build (fuzz/) and the seed replay test
# (tests/fuzz_replay/). Each target is fuzz/<name>.cpp with seeds in
# fuzz/corpus/<name>/, and EBT_FUZZ_LIBS_<name> lists the libraries it links.
# A target whose library does not exist (yet) is left out of both builds.
set(EBT_FUZZ_TARGETS
  line_fields
  star_record
  console_scan
  forecast_line
  daily_list_line
  recent_obs
  condition_file
  answers
  catalogue_import
  horizon_file
  option_values
  eclipse_window)

set(EBT_FUZZ_LIBS_line_fields formats)
set(EBT_FUZZ_LIBS_star_record formats)
set(EBT_FUZZ_LIBS_console_scan io)
set(EBT_FUZZ_LIBS_forecast_line datesel_lib)
set(EBT_FUZZ_LIBS_daily_list_line nightmark_lib)
set(EBT_FUZZ_LIBS_recent_obs nightmark_lib)
set(EBT_FUZZ_LIBS_condition_file eclfore_lib)
set(EBT_FUZZ_LIBS_answers eclfore_lib datesel_lib phaselist_lib)
set(EBT_FUZZ_LIBS_catalogue_import starimport_lib)
set(EBT_FUZZ_LIBS_horizon_file formats)
set(EBT_FUZZ_LIBS_option_values formats)
set(EBT_FUZZ_LIBS_eclipse_window eclfore_lib)

# Sets `out` to the targets whose libraries are all defined in this build.
function(ebt_available_fuzz_targets out)
  set(available)
  foreach(name IN LISTS EBT_FUZZ_TARGETS)
    set(ok TRUE)
    foreach(lib IN LISTS EBT_FUZZ_LIBS_${name})
      if(NOT TARGET ${lib})
        set(ok FALSE)
      endif()
    endforeach()
    if(ok)
      list(APPEND available ${name})
    else()
      message(STATUS "fuzz target ${name} left out: needs ${EBT_FUZZ_LIBS_${name}}")
    endif()
  endforeach()
  set(${out} ${available} PARENT_SCOPE)
endfunction()
