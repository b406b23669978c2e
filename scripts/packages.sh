# Sourced by the set-up scripts: the Debian packages habuki needs, grouped by the task that
# needs them, and a helper that installs the packages it is given when run as root, or names
# the missing ones and stops otherwise.

HABUKI_BUILD_PACKAGES=(cmake ninja-build g++ pkgconf libcli11-dev libacl1-dev libattr1-dev
                       libxlsxwriter-dev zlib1g-dev)  # the command line habuki, its xlsx tables
HABUKI_QT_PACKAGES=(qt6-base-dev fonts-noto-cjk qt6-translations-l10n)  # the Qt window, its glyphs, Qt's texts
HABUKI_TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev     # tests and benchmarks
  time hyperfine                     # peak memory and end-to-end times in bench/
  dpkg-dev file desktop-file-utils  # the Debian package and its checks
  lintian                           # Debian's own check of the package
  clang-format                      # the layout of every C++ file
  python3-openpyxl                  # reads the xlsx tables back as a spreadsheet would
)
HABUKI_FUZZ_PACKAGES=(clang libclang-rt-14-dev)  # libFuzzer, ASan and UBSan for scripts/fuzz.sh
HABUKI_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # habuki.exe for x64 and x86, its tests
  libz-mingw-w64-dev dpkg-dev   # libxlsxwriter built from Debian's source (windows-xlsxwriter-source.sh)
  python3-openpyxl              # reads back the workbooks habuki.exe writes
  wine wine64                                           # runs the x64 programs here
  unzip                                                 # unpacks the zip for Windows to check it
  nsis                                                  # makensis: the installer for Windows
  python3 python3-pefile                                # packs the window's icon (.ico); reads the built programs
  xvfb xauth fonts-noto-cjk                             # the window's smoke test, its glyphs
)

#   habuki_ensure_packages PACKAGE...
habuki_ensure_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "habuki needs these Debian packages; install them and run this again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]} ..." >&2
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}
