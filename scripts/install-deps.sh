#!/usr/bin/env bash
# Makes sure everything that building, running and testing need is present.
# It looks for the things themselves (commands, libraries, headers, the
# locale), not for package records, and calls the package manager only when
# something is missing. Without apt it names the packages to install instead.
# Quiet when all is there. Each argument names an extra group to look for as
# well: "fuzz" for the fuzz targets' compiler and runtime.
set -euo pipefail

# Debian package | kind of check | what must be found
needs=(
  "build-essential|command|g++"
  "build-essential|command|make"
  "cmake|command|cmake"
  "pkg-config|command|pkg-config"
  "libsdl2-dev|library|sdl2"
  "libgl-dev|library|gl"
  "libglu1-mesa-dev|library|glu"
  "libgl1-mesa-dri|file|/usr/lib/*/dri/swrast_dri.so"
  "libopenal-dev|library|openal"
  "libsndfile1-dev|library|sndfile"
  "libpng-dev|library|libpng"
  "libjpeg62-turbo-dev|header|jpeglib.h"
  "zlib1g-dev|library|zlib"
  "libinih-dev|library|inih"
  "libgtest-dev|header|gtest/gtest.h"
  "googletest|file|/usr/src/googletest"
  "xvfb|command|Xvfb"
  "xauth|command|xauth"
  "xdotool|command|xdotool"
  "locales|locale|de_DE.utf8"
)

# Extra groups: only the builds that name them need these.
fuzz_needs=(
  "clang|command|clang++"
  "libclang-rt-14-dev|file|/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a"
)

for group in "$@"; do
  case $group in
    fuzz) needs+=("${fuzz_needs[@]}") ;;
    *) echo "install-deps.sh: unknown group \"$group\" (known: fuzz)" >&2; exit 2 ;;
  esac
done

found() {
  local kind=$1 what=$2
  case $kind in
    command) command -v "$what" >/dev/null 2>&1 ;;
    library) pkg-config --exists "$what" 2>/dev/null ;;
    # libjpeg's header needs stdio.h before it.
    header) printf '#include <stdio.h>\n#include <%s>\n' "$what" | c++ -E -x c++ - >/dev/null 2>&1 ;;
    file) compgen -G "$what" >/dev/null ;;
    # The conversion tests run under a locale whose decimal separator is a comma.
    locale) locale -a 2>/dev/null | grep -qix "$what" ;;
  esac
}

missing_packages=()
missing_locale=false
for need in "${needs[@]}"; do
  IFS='|' read -r package kind what <<<"$need"
  found "$kind" "$what" && continue
  [ "$kind" = locale ] && missing_locale=true
  [[ " ${missing_packages[*]} " == *" $package "* ]] || missing_packages+=("$package")
done

[ ${#missing_packages[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "Missing what these Debian packages provide: ${missing_packages[*]}" >&2
  echo "This machine has no apt-get: install the equivalent packages of your system" >&2
  $missing_locale && echo "and generate the de_DE.UTF-8 locale" >&2
  echo "then run make again." >&2
  exit 1
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

to_install=()
for package in "${missing_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || to_install+=("$package")
done
if [ ${#to_install[@]} -eq 0 ] && ! $missing_locale; then
  echo "Installed but not usable: ${missing_packages[*]} (the build will say what it lacks)" >&2
fi
if [ ${#to_install[@]} -gt 0 ]; then
  echo "Installing: ${to_install[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${to_install[@]}" >/dev/null
fi

if $missing_locale && ! found locale de_DE.utf8; then
  echo "Generating locale de_DE.UTF-8"
  if [ -f /etc/locale.gen ]; then
    "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
