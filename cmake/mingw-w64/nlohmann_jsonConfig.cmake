# nlohmann-json for the Windows cross build: its headers are on every target's include path
# (cmake/mingw-w64.cmake), so the package is an empty interface.
if(NOT TARGET nlohmann_json::nlohmann_json)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
endif()
