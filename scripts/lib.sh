# Shared by ./run and ./test.

# Installs the Debian packages that are missing; only root can, others are told what to install.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages: ${missing[*]} (install them as root)" >&2
        return 1
    fi
    echo "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_native() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}
