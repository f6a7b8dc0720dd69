#!/usr/bin/env bash
# Builds Tallymere's Debian package, build/tallymere_<version>_<arch>.deb,
# installable with: apt-get install ./build/tallymere_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_packages.sh package

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYMERE_WITH_QT=ON
cmake --build build -j"$(nproc)" --target tallymere tallymere-cli tallymere_docs
(cd build && cpack -G DEB)
ls "$PWD"/build/tallymere_*.deb
