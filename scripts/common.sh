# Shared by the scripts: the repository root, package installation, and the
# configure-and-build step. Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

# Everything the build, the tests, the fuzzer and the packaging need.
PACKAGES=(cmake g++ make qt6-base-dev qt6-svg-dev libqt6svg6 libgtest-dev libbenchmark-dev fonts-liberation fonts-symbola
          xvfb xauth xdotool x11-utils clang libclang-rt-14-dev desktop-file-utils appstream
          dpkg-dev file imagemagick at-spi2-core dbus python3-pyatspi lintian gettext
          qt6-translations-l10n libxml2-utils shared-mime-info openbox)

# ensure_packages [PACKAGE…]: installs whatever of them (by default PACKAGES)
# is missing; does nothing when all are there.
ensure_packages() {
    local want=("$@") missing=() p
    [ ${#want[@]} -eq 0 ] && want=("${PACKAGES[@]}")
    for p in "${want[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The web page's compiler, and the two browsers that its tests drive (the
# build runs the page once in Chromium to make its markup).
WEB_PACKAGES=(emscripten node-acorn zopfli python3 chromium chromium-driver python3-selenium firefox-esr)

ensure_web_packages() { ensure_packages "${WEB_PACKAGES[@]}"; }

# Builds build/web/bitwell.html (and index.html) from the core and web/.
build_web() {
    # Emscripten's optimiser runs on Node and needs Debian's acorn, which a
    # Node that is not Debian's does not find by itself.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    emcmake cmake -S "$ROOT/web" -B "$ROOT/build/web-build" -DCMAKE_BUILD_TYPE=Release         -DBITWELL_WEB_OUTPUT="$ROOT/build/web" >/dev/null
    cmake --build "$ROOT/build/web-build" -j"$JOBS"
}

# build_tree DIR BUILD_TYPE [cmake args…]: configures once, then builds.
build_tree() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    cmake --build "$dir" -j"$JOBS"
}
