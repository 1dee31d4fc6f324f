# The Debian package's version, whose headers the cross build uses.
set(PACKAGE_VERSION 3.11.2)
set(PACKAGE_VERSION_COMPATIBLE TRUE)
