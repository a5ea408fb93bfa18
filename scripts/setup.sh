# Shared by the project's scripts: installs the Debian packages that are missing and configures
# and builds a tree. Sourced, not run.

QUILMAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages to build and run the program.
QUILMAR_RUN_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libqt6svg6
    qt6-translations-l10n qt6-qpa-plugins qt6-wayland fonts-liberation fonts-crosextra-carlito)
# Packages that only the tests, benchmarks and fuzzers need.
QUILMAR_TEST_PACKAGES=(libgtest-dev libbenchmark-dev libxcb1-dev pkg-config clang libclang-rt-14-dev xvfb openbox
    weston xdotool xclip wmctrl x11-utils locales desktop-file-utils appstream dpkg-dev file lintian man-db)

quilmar_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# Installs the packages given that are not installed yet; updates the lists once, only if needed.
quilmar_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    quilmar_as_root apt-get update -qq
    quilmar_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# The locales that the tests run the program under, beside C: French and English, UTF-8.
quilmar_ensure_test_locales() {
    local wanted=(fr_FR en_US) missing=0 name
    for name in "${wanted[@]}"; do
        locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$" && continue
        missing=1
        quilmar_as_root sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen \
            || echo "$name.UTF-8 UTF-8" | quilmar_as_root tee -a /etc/locale.gen >/dev/null
    done
    [ "$missing" -eq 0 ] || quilmar_as_root locale-gen >/dev/null
}

# quilmar_build DIR [cmake options...]: configures DIR with the options (quick when nothing
# changed), then builds what is out of date.
quilmar_build() {
    local dir=$1
    shift
    cmake -S "$QUILMAR_ROOT" -B "$dir" -G Ninja --log-level=WARNING "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
