# Shared by the namespace test and the benchmark (sourced): a network namespace of the caller's own
# with a Wine prefix whose wineserver runs inside it, torn down again however the caller ends.
# Every address used lives inside the namespace; nothing inside it reaches any other network.

NETNS=
NETNS_PREFIX=
NETNS_DIR=
NETNS_OUT=

# Removes namespaces left by earlier runs that were killed before they could clean up.
netns_remove_stale() {
    local ns pid
    for ns in $(ip netns list 2>/dev/null | awk '{print $1}' | grep '^gwprobe-[0-9]*$'); do
        pid=${ns#gwprobe-}
        if ! kill -0 "$pid" 2>/dev/null; then
            for p in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$p" 2>/dev/null; done
            ip netns del "$ns" 2>/dev/null
        fi
    done
}

netns_cleanup() {
    if [ -n "$NETNS" ]; then
        WINEPREFIX=$NETNS_PREFIX timeout 20 wineserver -k >/dev/null 2>&1
        local p
        for p in $(ip netns pids "$NETNS" 2>/dev/null); do kill -9 "$p" 2>/dev/null; done
        ip netns del "$NETNS" 2>/dev/null
        NETNS=
    fi
    [ -n "$NETNS_DIR" ] && rm -rf "$NETNS_DIR"
    NETNS_DIR=
}

# netns_start PREFIX PREPARE_PREFIX_SCRIPT: makes the namespace and starts the prefix's wineserver
# in it. Returns 77 (after saying why) where that can't be done here.
netns_start() {
    NETNS_PREFIX=$1
    local prepare=$2
    if [ "$(id -u)" != 0 ]; then
        echo "SKIPPED: network namespaces need root"
        return 77
    fi
    if ! command -v ip >/dev/null; then
        echo "SKIPPED: ip (iproute2) is not installed"
        return 77
    fi
    netns_remove_stale
    NETNS=gwprobe-$$
    if ! ip netns add "$NETNS" 2>/dev/null; then
        echo "SKIPPED: cannot make a network namespace here (ip netns add failed)"
        NETNS=
        return 77
    fi
    trap netns_cleanup EXIT
    trap 'exit 130' INT TERM HUP
    if ! ip -n "$NETNS" link add gwprobe-t0 type veth peer name gwprobe-t1 2>/dev/null; then
        echo "SKIPPED: no veth links in network namespaces here"
        return 77
    fi
    ip -n "$NETNS" link del gwprobe-t0
    NETNS_DIR=$(mktemp -d)
    NETNS_OUT=$NETNS_DIR/out

    # The prefix is this namespace's alone; a server of it running elsewhere would answer with the
    # wrong network, so none may be left running.
    if [ ! -f "$NETNS_PREFIX/system.reg" ]; then
        echo "preparing the Wine prefix $NETNS_PREFIX"
        "$prepare" "$NETNS_PREFIX" null || { echo "cannot prepare $NETNS_PREFIX"; return 1; }
    fi
    WINEPREFIX=$NETNS_PREFIX timeout 20 wineserver -k >/dev/null 2>&1
    WINEPREFIX=$NETNS_PREFIX timeout 20 wineserver -w >/dev/null 2>&1
    ip -n "$NETNS" link set lo up
    ip netns exec "$NETNS" env WINEPREFIX="$NETNS_PREFIX" WINEDEBUG=-all wineserver -p </dev/null >/dev/null 2>&1
    return 0
}

# netns_wine ARGS...: runs a Wine program inside the namespace, its output in $NETNS_OUT (a file:
# Wine's helper processes would hold a pipe open); returns its exit code (255 for -1).
netns_wine() {
    timeout 60 ip netns exec "$NETNS" env WINEPREFIX="$NETNS_PREFIX" WINEDEBUG=-all \
        WINEDLLOVERRIDES='mscoree,mshtml=' wine "$@" </dev/null >"$NETNS_OUT" 2>&1
}

# The default value of HKCR\ZFARLINE\GATEWAY_ADDR as the namespace's prefix holds it, or nothing.
netns_gateway_addr() {
    local out=$NETNS_DIR/reg
    timeout 60 ip netns exec "$NETNS" env WINEPREFIX="$NETNS_PREFIX" WINEDEBUG=-all \
        WINEDLLOVERRIDES='mscoree,mshtml=' wine reg query 'HKCR\ZFARLINE\GATEWAY_ADDR' /ve \
        </dev/null >"$out" 2>&1
    awk '/REG_SZ/ {print $NF}' "$out" | tr -d '\r'
}

# The gateway the kernel names for a destination ("via X"), or nothing (no route, or on-link).
netns_kernel_gateway() {
    ip netns exec "$NETNS" ip route get "$1" 2>/dev/null | sed -n 's/.* via \([0-9.]*\) .*/\1/p' | head -n 1
}

# Two links, each a veth pair with both ends inside the namespace: 10.1.0.2/24 on a0, 10.2.0.2/24 on b0.
netns_links() {
    local l
    ip -n "$NETNS" link add a0 type veth peer name a1
    ip -n "$NETNS" link add b0 type veth peer name b1
    for l in a0 a1 b0 b1; do ip -n "$NETNS" link set "$l" up; done
    ip -n "$NETNS" addr add 10.1.0.2/24 dev a0
    ip -n "$NETNS" addr add 10.2.0.2/24 dev b0
}

# netns_routes ROUTE...: replaces every route the test added (the links' own stay) by these.
netns_routes() {
    local r
    ip -n "$NETNS" route flush proto boot
    for r in "$@"; do
        # shellcheck disable=SC2086
        ip -n "$NETNS" route add $r || echo "cannot add route: $r"
    done
}
