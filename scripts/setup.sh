# Sourced by run.sh and test.sh: installs what the build needs on Debian.
# fonts-wqy-microhei: Chinese glyphs for the offscreen tests and the app
# (tst_cjkfont); dbus, at-spi2-core and python3-pyatspi: the screen-reader
# stack that tests/atspi_e2e.py drives the application through.
ORVALIX_PACKAGES="cmake g++ make qtbase5-dev qttools5-dev qttools5-dev-tools libqt5sql5-sqlite sqlite3 xvfb xauth
    fonts-wqy-microhei dbus at-spi2-core python3 python3-pyatspi"
# Only for fuzz/run.sh: clang with its libFuzzer and sanitizer runtimes.
ORVALIX_FUZZ_PACKAGES="clang libclang-rt-14-dev"
# Only for ./test.sh --valgrind.
ORVALIX_VALGRIND_PACKAGES="valgrind"

orvalix_install_packages() {
    local missing=()
    local pkg
    for pkg in $ORVALIX_PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}

orvalix_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
