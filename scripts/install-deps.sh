#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the run command need,
# only those that are missing, without questions. Works as root or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6svg6 qt6-qpa-plugins qt6-charts-dev libqt6opengl6-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  # The TLS test makes its certificate authority and certificates.
  openssl
  libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-wqy-microhei fontconfig
  xvfb xauth xdotool poppler-utils imagemagick
  clang-format locales ccache
  # A faster linker for the large test programs.
  lld
  # The fuzz targets: clang with libFuzzer and the sanitizers' runtimes.
  clang libclang-rt-dev
  # The Debian package: its dependencies (dpkg-shlibdeps), its checks, the
  # menu icon's PNG sizes drawn from the SVG.
  dpkg-dev fakeroot lintian appstream desktop-file-utils librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  as_root=(false)
fi

# Comma-decimal locales: the amount tests run under them as well as C.
ensure_locales() {
  local wanted=(de_DE.UTF-8 sv_FI.UTF-8) add=()
  for l in "${wanted[@]}"; do
    locale -a 2>/dev/null | grep -qi "^${l/UTF-8/utf8}$" || add+=("$l")
  done
  [ ${#add[@]} -eq 0 ] && return 0
  for l in "${add[@]}"; do
    "${as_root[@]}" sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${as_root[@]}" locale-gen >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
  ensure_locales
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "${as_root[*]}" = false ]; then
  echo "error: missing packages (${missing[*]}) and no sudo to install them; run as root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_locales
