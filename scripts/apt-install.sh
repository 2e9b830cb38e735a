#!/usr/bin/env bash
# apt-install.sh PACKAGE...: installs Debian's packages by name, through
# sudo when not root, without their recommended packages; nothing when none
# is given. The check scripts list what they miss and call it once.
set -euo pipefail
[ $# -gt 0 ] || exit 0
echo "Installing: $*"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "$@"
