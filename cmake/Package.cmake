# The Debian package: `cpack -G DEB` in the build folder writes tessaron-mq_<version>_<arch>.deb with
# the program, its desktop entry, its icons and the copyright file (the install component
# "application"; nothing else of the build is installed). The libraries it needs are found from the
# binary by dpkg-shlibdeps (dpkg-dev); what the binary loads at run time without linking it (the
# platform plugins and the fonts it draws with) is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaron-mq)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessaron MQ")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop client for Kafka and RabbitMQ that reads without disturbing")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};application;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessaron MQ maintainers <tessaron-mq@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Desktop client for Kafka and RabbitMQ\n Reads Kafka topics and RabbitMQ queues without joining a consumer group or\n committing an offset, explains what it finds, and files messages and offset\n resets with a reason.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-materialdesignicons-webfont, fonts-inter, fonts-quicksand, fonts-jetbrains-mono")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring")

include(CPack)
