#!/usr/bin/env bash
# Runs gwprobe.exe under Wine, with Wine's own snmpapi.dll and inetmib1.dll, on routing tables
# crafted in a network namespace of this test's own, and compares the gateway it records with the
# one the kernel's own lookup (`ip route get`) names for the same destination.
#   netns_routes.sh GWPROBE_EXE NAMESPACE_PREFIX PREPARE_PREFIX_SCRIPT
# The Wine prefix serves only this namespace: its wineserver runs inside it, so the agent reads the
# namespace's table and not the host's. Exits 77 (skipped) where no namespace can be made.
set -u

exe=$1
prefix=$2
prepare=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=netns_support.sh
. "$here/netns_support.sh"

netns_start "$prefix" "$prepare" || exit $?

failures=0
fail() {
    echo "FAIL  $*"
    failures=$((failures + 1))
}

# One case: a name, the destination written as PORTREVE_ADDR ("-" for none; then the kernel is
# asked about an address only a default route covers) and how the two must relate:
#   same     GATEWAY_ADDR is the gateway `ip route get` names
#   own=GW   the rules differ here by design; GATEWAY_ADDR must be GW (gwprobe's own rule)
#   none     no route: gwprobe exits -1 and leaves GATEWAY_ADDR as it was, `ip route get` fails
check() {
    local name=$1 dest=$2 expect=$3
    if [ "$dest" = - ]; then
        netns_wine reg delete 'HKCR\ZFARLINE' /v PORTREVE_ADDR /f
        local kernel_dest=203.0.113.9
    else
        netns_wine reg add 'HKCR\ZFARLINE' /v PORTREVE_ADDR /d "$dest" /f
        local kernel_dest=$dest
    fi
    local before kernel rc after
    before=$(netns_gateway_addr)
    kernel=$(netns_kernel_gateway "$kernel_dest")
    netns_wine "$exe"
    rc=$?
    # Rows the walk read (one request finds the end) against the routes the kernel holds.
    local walked rows
    walked=$(($(grep -c 'GetIpRouteInfo: SnmpExtensionQuery OK.' "$NETNS_OUT") - 1))
    rows=$(ip -n "$NETNS" -4 route show | wc -l)
    name="$name [walked $walked of $rows rows]"
    after=$(netns_gateway_addr)
    case $expect in
    same)
        if [ "$rc" = 0 ] && [ -n "$kernel" ] && [ "$after" = "$kernel" ]; then
            echo "ok    $name: $dest -> $after (ip route get $kernel_dest: via $kernel)"
        else
            fail "$name: $dest -> exit $rc, GATEWAY_ADDR '$after'; ip route get $kernel_dest: via '$kernel'"
            cat "$NETNS_OUT"
        fi
        ;;
    own=*)
        local own=${expect#own=}
        if [ "$rc" = 0 ] && [ "$after" = "$own" ] && [ "$kernel" != "$own" ]; then
            echo "ok    $name: $dest -> $after (ip route get: via $kernel; gwprobe keeps to its own interface)"
        else
            fail "$name: $dest -> exit $rc, GATEWAY_ADDR '$after', wanted $own; ip route get: via '$kernel'"
            cat "$NETNS_OUT"
        fi
        ;;
    none)
        if [ "$rc" = 255 ] && [ "$after" = "$before" ] && [ -z "$kernel" ] && ! grep -q Gateway: "$NETNS_OUT"; then
            echo "ok    $name: $dest -> exit -1, GATEWAY_ADDR still '$after' (ip route get: no route)"
        else
            fail "$name: $dest -> exit $rc, GATEWAY_ADDR '$before' -> '$after'; ip route get: via '$kernel'"
            cat "$NETNS_OUT"
        fi
        ;;
    esac
}

# Two links, each a veth pair inside the namespace: 10.1.0.2/24 on a0, 10.2.0.2/24 on b0.
netns_links

netns_routes "default via 10.1.0.1 dev a0"
check "one default route, no server address" - same
check "one default route, distant server" 203.0.113.9 same

netns_routes "default via 10.1.0.1 dev a0" \
             "10.9.0.0/16 via 10.1.0.11 dev a0" \
             "10.9.0.5/32 via 10.1.0.12 dev a0"
check "host route beats the network route to the same destination" 10.9.0.5 same
check "network route for another host of that network" 10.9.7.7 same
check "default route beside them" 198.51.100.20 same

netns_routes "default via 10.1.0.1 dev a0" \
             "10.30.0.0/16 via 10.2.0.1 dev b0" \
             "10.30.5.0/24 via 10.1.0.13 dev a0"
check "routes on two interfaces, the longer one on the local interface" 10.30.5.5 same

netns_routes "default via 10.1.0.1 dev a0 metric 10" \
             "default via 10.2.0.1 dev b0 metric 20"
check "default routes on two interfaces" 203.0.113.9 same

netns_routes "default via 10.2.0.1 dev b0 metric 10" \
             "default via 10.1.0.1 dev a0 metric 20"
check "default routes on two interfaces, the other one preferred" 203.0.113.9 same

netns_routes "default via 10.1.0.1 dev a0" \
             "10.40.0.0/16 via 10.2.0.1 dev b0"
check "a route over the other interface only" 10.40.1.1 own=10.1.0.1

netns_routes "10.9.0.0/16 via 10.1.0.11 dev a0"
check "no route to the server" 203.0.113.9 none

if [ "$failures" -ne 0 ]; then
    echo "$failures case(s) failed"
    exit 1
fi
echo "all cases agree with the kernel"
