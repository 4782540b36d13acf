# The nationwide postal address file lives outside the project; tests that
# need it skip with the reason when it is not found. Sets TABULO_KEN_ALL_CSV.
set(TABULO_KEN_ALL_CSV "" CACHE FILEPATH "KEN_ALL.CSV used by the postal code tests")
if(NOT TABULO_KEN_ALL_CSV)
  foreach(candidate ${CMAKE_SOURCE_DIR}/../shared/data/KEN_ALL.CSV ${CMAKE_SOURCE_DIR}/../../shared/data/KEN_ALL.CSV)
    if(EXISTS ${candidate})
      get_filename_component(TABULO_KEN_ALL_CSV ${candidate} ABSOLUTE)
      break()
    endif()
  endforeach()
endif()
