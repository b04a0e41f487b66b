# Read by cpack once per generator: the .deb packs the "deb" component at the root of the system,
# the .tar.gz the portable program folder.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INGRESSARIO_BUILD_DIR};Ingressario;deb;/")
    set(CPACK_PACKAGING_INSTALL_PREFIX "/")
elseif(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INGRESSARIO_BUILD_DIR};Ingressario;portable;/")
    set(CPACK_PACKAGE_FILE_NAME
        "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-portatile-${CPACK_INGRESSARIO_ARCH}")
endif()
