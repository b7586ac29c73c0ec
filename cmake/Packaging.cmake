# The Debian package: `cpack -G DEB` in the build folder writes tulmera_<version>_amd64.deb,
# and with the Python module also python3-tulmera_<version>_amd64.deb: Debian's Python policy
# puts a public module in a package of its own named python3-<module>, so that the desktop
# program does not pull in numpy, and the module's Python dependencies stay with it.
# The documents a Debian package must carry (copyright, changelog) and the shared notices.
include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tulmera)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_SOURCE_DIR}/NOTICE
        DESTINATION ${doc_dir})
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(tulmera_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${doc_dir})

if(TULMERA_BUILD_PYTHON)
  set(python_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/python3-tulmera)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}
          DESTINATION ${python_doc_dir} COMPONENT python)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tulmera)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tulmera developers")
set(CPACK_PACKAGE_CONTACT "Tulmera developers <developers@tulmera.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "leaf and canopy reflectance simulator for teaching")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tulmera computes the reflectance and transmittance of a leaf from 400 to
2500 nm with the PROSPECT model, and the reflectance of a plant canopy over
a soil with the SAILH model. Every change of a parameter redraws both
spectra at once, over a grid or over the bands of a satellite sensor. A
second window sweeps one leaf parameter into a family of curves; results go
to a spreadsheet. The batch runner tulmera-batch runs the same models from
scripts. The interface is in Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc")
# The package carries the manual pages: without help2man (no pages made) cpack refuses to run.
if(NOT HELP2MAN)
  set(no_manuals ${PROJECT_BINARY_DIR}/packaging/RefuseWithoutManualPages.cmake)
  file(WRITE ${no_manuals} "message(FATAL_ERROR \"The Debian package needs the manual pages, \"
    \"which help2man makes (Debian: help2man): install it and configure again.\")\n")
  set(CPACK_PROJECT_CONFIG_FILE ${no_manuals})
endif()
if(TULMERA_BUILD_PYTHON)
  # Everything installed without a component is the program's package.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL Unspecified python)
  set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME tulmera)
  set(CPACK_DEBIAN_UNSPECIFIED_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-tulmera)
  set(CPACK_DEBIAN_PYTHON_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  # The interpreter the module was built for, and numpy's ABI, which its arrays rely on.
  string(REGEX MATCH "^[0-9]+\\.[0-9]+" python_version "${Python_VERSION}")
  math(EXPR python_next "${Python_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= ${python_version}), python3 (<< ${Python_VERSION_MAJOR}.${python_next}), python3-numpy (>= 1:1.24), python3-numpy-abi9")
  set(CPACK_COMPONENT_PYTHON_DESCRIPTION
    "leaf and canopy reflectance models for Python
 The Python 3 module tulmera runs Tulmera's leaf model (PROSPECT) and canopy
 model (SAILH) from Python with numpy arrays in and out: leaf and canopy
 spectra with fAPAR, fCover and albedo, arrays of parameters computed on
 every core, look-up tables in HDF5 or CSV, leaf and canopy fits, sensor
 bands and vegetation indices. Every value equals the batch runner's.")
endif()
include(CPack)
