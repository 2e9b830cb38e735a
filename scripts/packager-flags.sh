# Sourced by test.sh --release and check-package.sh: exports the flags a
# Debian build compiles and links with (dpkg-buildflags, hardening
# included), which the release preset adds to its own. So one optimised
# build runs every test and makes the package.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
