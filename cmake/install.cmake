# cmake --install: the game in <prefix>/lib/tessora beside its BMP/, SOUND/ and MOD/ folders, a
# launcher link in <prefix>/bin, the desktop entry and icon, and the framework for other
# programs as static libraries, headers and the package that find_package(zu) reads.
set(TESSORA_PROGRAM_DIR lib/tessora)

if(TARGET tessora)
  install(TARGETS tessora RUNTIME DESTINATION ${TESSORA_PROGRAM_DIR})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/BMP ${CMAKE_BINARY_DIR}/bin/SOUND ${CMAKE_BINARY_DIR}/bin/MOD
          DESTINATION ${TESSORA_PROGRAM_DIR})
  # A relative link, so the program finds its folder through /proc/self/exe wherever it lands.
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/tessora\")
    file(CREATE_LINK ../${TESSORA_PROGRAM_DIR}/tessora \"\${bin}/tessora\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/tessora -> ../${TESSORA_PROGRAM_DIR}/tessora\")")
  install(FILES ${CMAKE_SOURCE_DIR}/tools/tessora.desktop DESTINATION share/applications)
  install(FILES ${CMAKE_BINARY_DIR}/bin/tessora.png DESTINATION share/icons/hicolor/128x128/apps)
endif()

# The framework: headers under include/zu, so `#include "system/zu_system.h"` works as here.
set(ZU_EXPORTED zu zuplatform zuplatform_core zuplatform_os zuplatform_video zuplatform_text
    zuplatform_audio zuplatform_sdl zuplatform_headless)
if(TARGET zumain)
  list(APPEND ZU_EXPORTED zumain)
endif()
foreach(target IN LISTS ZU_EXPORTED)
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:include/zu>)
endforeach()
install(TARGETS ${ZU_EXPORTED} EXPORT zuTargets ARCHIVE DESTINATION lib)
install(DIRECTORY src/system src/draw src/sound src/input src/platform
        DESTINATION include/zu FILES_MATCHING PATTERN "*.h")
install(EXPORT zuTargets NAMESPACE zu:: DESTINATION lib/cmake/zu)

file(WRITE ${CMAKE_BINARY_DIR}/zuConfig.cmake [=[
# The zu framework: zu::zu (the four families), zu::zuplatform, the backends and zu::zumain.
include(${CMAKE_CURRENT_LIST_DIR}/zuDependencies.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/zuTargets.cmake)
]=])
include(CMakePackageConfigHelpers)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zuConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zuConfig.cmake ${CMAKE_BINARY_DIR}/zuConfigVersion.cmake
        ${CMAKE_SOURCE_DIR}/cmake/zuDependencies.cmake DESTINATION lib/cmake/zu)
