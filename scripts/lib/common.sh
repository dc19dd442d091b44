# Shared by the project scripts: where things are, and the packages a fresh
# Debian 12 machine needs to build and test the project.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

korvel_packages=(cmake ninja-build g++ pkg-config python3 tzdata libgtest-dev libgmock-dev libbenchmark-dev
                 qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation clang-format
                 libsqlite3-dev qt6-charts-dev libqt6opengl6-dev)

# Installs the packages that are missing, with sudo when not root.
ensure_packages() {
    local missing=()
    for package in "${korvel_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build <build dir> [cmake options...]
configure_and_build() {
    local build=$1
    shift
    local launcher=()
    # A compiler cache, when the machine has one, makes rebuilds in several checkouts cheap.
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$root" -B "$build" -G Ninja -DKORVEL_WERROR=ON "${launcher[@]}" "$@" >/dev/null
    cmake --build "$build" -j"$(nproc)"
}
