# find_package(jconvert): the imported target jconvert::jconvert, whose
# header is <jconvert.h>.
include("${CMAKE_CURRENT_LIST_DIR}/jconvertTargets.cmake")
