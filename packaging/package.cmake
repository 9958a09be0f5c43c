# The Debian package: what is installed where, the files made for it at
# build time (icons, manual pages, bash completion, compressed changelog),
# and CPack's DEB generator. scripts/package.sh builds and runs cpack; the
# version is the project's (project(TZ305 VERSION ...)).
#
# Installed, the programs sit in /usr/bin and find TZ_QSB in
# /usr/share/tz305 (store/paths.cpp); everything they write goes to the
# user's data folder, never beside them.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(TZ_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(TZ_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(TZ_ICON_SIZES 16 22 24 32 48 64 128 256)

# Build-time tools run through the emulator when cross-compiling.
set(TZ_RUN_TOOL ${CMAKE_CROSSCOMPILING_EMULATOR})

add_executable(tz305-mkicons tools/mkicons.cpp)
target_link_libraries(tz305-mkicons PRIVATE tzcore)
set_target_properties(tz305-mkicons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(TZ_ICON_FILES)
foreach(size IN LISTS TZ_ICON_SIZES)
  list(APPEND TZ_ICON_FILES ${TZ_PACKAGING_OUT}/icons/${size}x${size}/apps/tz305.png)
endforeach()
add_custom_command(
  OUTPUT ${TZ_ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          ${TZ_RUN_TOOL} $<TARGET_FILE:tz305-mkicons> ${TZ_PACKAGING_OUT}/icons
  DEPENDS tz305-mkicons
  COMMENT "Painting the desktop icons"
  VERBATIM)

set(TZ_DOC_FILES
  ${TZ_PACKAGING_OUT}/tz305-cli.1.gz ${TZ_PACKAGING_OUT}/tz305.1.gz
  ${TZ_PACKAGING_OUT}/tz305-cli ${TZ_PACKAGING_OUT}/changelog.gz)
add_custom_command(
  OUTPUT ${TZ_DOC_FILES}
  COMMAND ${Python3_EXECUTABLE} ${TZ_PACKAGING_SOURCE}/makedocs.py ${TZ_PACKAGING_OUT}
          ${TZ_PACKAGING_SOURCE}/changelog ${TZ_RUN_TOOL} $<TARGET_FILE:tz305-cli>
  DEPENDS tz305-cli ${TZ_PACKAGING_SOURCE}/makedocs.py ${TZ_PACKAGING_SOURCE}/changelog
  COMMENT "Writing the manual pages and the bash completion from tz305-cli's usage text"
  VERBATIM)
add_custom_target(tz_packaging ALL DEPENDS ${TZ_ICON_FILES} ${TZ_DOC_FILES})

install(TARGETS tz305 tz305-cli RUNTIME DESTINATION bin)
install(FILES ${TZ_TEMPLATE_FILE} ${TZ_PICTURE_FILE} DESTINATION share/tz305/TZ_QSB)
foreach(size IN LISTS TZ_ICON_SIZES)
  install(FILES ${TZ_PACKAGING_OUT}/icons/${size}x${size}/apps/tz305.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${TZ_PACKAGING_SOURCE}/tz305.desktop DESTINATION share/applications)
install(FILES ${TZ_PACKAGING_SOURCE}/tz305.metainfo.xml DESTINATION share/metainfo
        RENAME org.tz305.tz305.metainfo.xml)
install(FILES ${TZ_PACKAGING_SOURCE}/tz305-mime.xml DESTINATION share/mime/packages RENAME tz305.xml)
install(FILES ${TZ_PACKAGING_OUT}/tz305-cli.1.gz ${TZ_PACKAGING_OUT}/tz305.1.gz DESTINATION share/man/man1)
install(FILES ${TZ_PACKAGING_OUT}/tz305-cli DESTINATION share/bash-completion/completions)
install(FILES ${TZ_PACKAGING_SOURCE}/copyright ${TZ_PACKAGING_OUT}/changelog.gz DESTINATION share/doc/tz305)

# cpack installs what is built, without building everything (tests) first;
# scripts/package.sh builds the package's targets.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tz305)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TZ305 developers")
set(CPACK_PACKAGE_CONTACT "TZ305 developers <tz305@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "general ledger for small businesses (Chinese)")
set(CPACK_PACKAGE_DESCRIPTION
  "TZ305 keeps statutory books for small Chinese businesses: one encrypted\n"
  "account set per company and fiscal year, operators, a chart of accounts,\n"
  "vouchers keyed month by month, ledgers, balance tables, statements,\n"
  "printing and workbook export. All its texts are Simplified Chinese.\n"
  "tz305 is the desktop program, tz305-cli its command-line twin.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found at run time, not linked: the Chinese font the windows and printouts
# use, and Qt's platform plugins (the windows, and offscreen for printing).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
if(TZ_DEB_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TZ_DEB_ARCH})
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
