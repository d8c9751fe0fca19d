# Sourced by the build and test scripts: installs the Debian packages named as
# arguments that are not installed yet (with sudo when not root).
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo
    sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Wine for 32-bit Windows programs: Debian's i386 architecture added first,
# then wine32:i386 (with sudo when not root).
ensure_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        local sudo
        sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
        $sudo dpkg --add-architecture i386
        $sudo apt-get update -q
    fi
    ensure_packages wine32:i386
}
