# cmake --install: the game in <prefix>/lib/tessora beside its BMP/, SOUND/ and MOD/ folders, a
# launcher link in <prefix>/bin, the desktop entry and icon (component tessora); and the framework
# for other programs (component zu): static libraries, the public headers under include/zu, the
# resource embedder and the package that find_package(zu) reads; zushow in <prefix>/lib/zushow.
set(TESSORA_PROGRAM_DIR lib/tessora)

if(TARGET tessora)
  install(TARGETS tessora RUNTIME DESTINATION ${TESSORA_PROGRAM_DIR} COMPONENT tessora)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/BMP ${CMAKE_BINARY_DIR}/bin/SOUND ${CMAKE_BINARY_DIR}/bin/MOD
          DESTINATION ${TESSORA_PROGRAM_DIR} COMPONENT tessora)
  # A relative link, so the program finds its folder through /proc/self/exe wherever it lands.
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/tessora\")
    file(CREATE_LINK ../${TESSORA_PROGRAM_DIR}/tessora \"\${bin}/tessora\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/tessora -> ../${TESSORA_PROGRAM_DIR}/tessora\")"
    COMPONENT tessora)
  install(FILES ${CMAKE_SOURCE_DIR}/tools/tessora.desktop DESTINATION share/applications COMPONENT tessora)
  install(FILES ${CMAKE_BINARY_DIR}/bin/tessora.png DESTINATION share/icons/hicolor/128x128/apps
          COMPONENT tessora)
endif()

# The showcase beside its data folder, and its launcher link (component zushow).
if(TARGET zushow)
  install(TARGETS zushow RUNTIME DESTINATION lib/zushow COMPONENT zushow)
  install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/ZUSHOW DESTINATION lib/zushow COMPONENT zushow)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(REMOVE \"\${bin}/zushow\")
    file(CREATE_LINK ../lib/zushow/zushow \"\${bin}/zushow\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/zushow -> ../lib/zushow/zushow\")"
    COMPONENT zushow)
endif()

# The headers a program may include, and nothing else: <prefix>/include/zu/<path>. They include
# each other by relative paths, so <prefix>/include alone is the include folder.
set(ZU_PUBLIC_HEADERS
  system/zu_main.h system/zu_system.h draw/zu_draw.h sound/zu_sound.h input/joystick.h
  platform/types.h platform/win32.h platform/os/resources.h)
foreach(header IN LISTS ZU_PUBLIC_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES src/${header} DESTINATION include/zu/${folder} COMPONENT zu)
endforeach()

set(ZU_EXPORTED zu zuplatform zuplatform_core zuplatform_os zuplatform_video zuplatform_text
    zuplatform_audio zuplatform_sdl zuplatform_headless zumain)
foreach(target IN LISTS ZU_EXPORTED)
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:include>)
endforeach()
install(TARGETS ${ZU_EXPORTED} zuembed EXPORT zuTargets
        ARCHIVE DESTINATION lib COMPONENT zu
        RUNTIME DESTINATION lib/zu COMPONENT zu)
install(TARGETS zusoundpack RUNTIME DESTINATION bin COMPONENT zu)
install(TARGETS zudrawpack RUNTIME DESTINATION bin COMPONENT zu)  # the draw packer
install(EXPORT zuTargets NAMESPACE zu:: DESTINATION lib/cmake/zu COMPONENT zu)

file(WRITE ${CMAKE_BINARY_DIR}/zuConfig.cmake [=[
# The zu framework: zu::zu (the families), zu::zumain (main(), which calls the program's WinMain),
# the backends zu::zuplatform_sdl and zu::zuplatform_headless, and zu_add_resources().
include(${CMAKE_CURRENT_LIST_DIR}/zuDependencies.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/zuTargets.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/zuResources.cmake)
]=])
include(CMakePackageConfigHelpers)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zuConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zuConfig.cmake ${CMAKE_BINARY_DIR}/zuConfigVersion.cmake
        ${CMAKE_SOURCE_DIR}/cmake/zuDependencies.cmake ${CMAKE_SOURCE_DIR}/cmake/zuResources.cmake
        DESTINATION lib/cmake/zu COMPONENT zu)
