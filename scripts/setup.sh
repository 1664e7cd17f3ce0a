#!/usr/bin/env bash
# Installs every package the build, the tests and the renderer need, on Debian,
# as root. Quick when everything is already there.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libpng-dev zlib1g-dev libcli11-dev
  libcairo2-dev libpango1.0-dev libharfbuzz-dev fontconfig fonts-noto-cjk fonts-liberation2
  poppler-utils librsvg2-bin valgrind locales nlohmann-json3-dev hyperfine time libqpdf-dev qpdf icc-profiles-free
  libcpp-httplib-dev chromium
)

. "$(dirname "$0")/packages.sh"
install_missing setup "${packages[@]}"

# A locale whose decimal separator is a comma, for the tests that prove number
# reading ignores the process locale.
ensure_locale setup de_DE
