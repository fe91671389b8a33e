#!/usr/bin/env bash
# Tries the application without a codec: starts the simulated device, the TLS relay and an sshd on loopback, writes a
# configuration that knows the device, and starts a copy of the application on it (on the X display in $DISPLAY;
# without one it prints how to start it). Pick "Lab codec" under "&Recent" to connect. Ctrl+C stops everything the
# lab started.
#
# Needs root: sshd runs as the relay's SSH service with a throw-away user, and the relay listens on port 443.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "$(id -u)" -ne 0 ]; then
    echo "The lab needs root (sshd with a throw-away user, the relay on port 443)." >&2
    exit 1
fi

scripts/build-app.sh labdevice labrelay
build=build/app

lab=$(mktemp -d /tmp/mq-lab.XXXXXX)
pids=()
stop() {
    trap - EXIT INT TERM
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    "$root/tests/peers/sshd-fixture.sh" stop "$lab/sshd" >/dev/null 2>&1 || true
    rm -rf "$lab"
    echo "Lab stopped."
}
trap stop EXIT
trap 'exit 130' INT TERM

# Waits until the file holds a line starting with the given name and prints its value.
value_of() {
    local file=$1 name=$2 i
    for i in $(seq 1 100); do
        if grep -q "^$name=" "$file" 2>/dev/null; then
            grep -m1 "^$name=" "$file" | cut -d= -f2-
            return 0
        fi
        sleep 0.1
    done
    echo "lab: no $name in $file" >&2
    return 1
}

# The SSH service of the relay.
"$root/tests/peers/sshd-fixture.sh" start "$lab/sshd" >/dev/null
ssh_port=$(value_of "$lab/sshd/sshd.env" MQ_SSHD_PORT)

# The codec.
"$build/tests/peers/labdevice" >"$lab/device.log" 2>&1 &
pids+=($!)
mac=$(value_of "$lab/device.log" mac)

# The relay, which hands out the SSH account and the way to the codec.
serial=004711
codec_password=lab-password
LAB_SERIAL=$serial LAB_PASSWORD=$codec_password LAB_MAC=$mac \
    LAB_SSH_USER=$(value_of "$lab/sshd/sshd.env" MQ_SSHD_USER) \
    LAB_SSH_PASSWORD=$(value_of "$lab/sshd/sshd.env" MQ_SSHD_PASSWORD) \
    "$build/tests/peers/labrelay" 443 >"$lab/relay.log" 2>&1 &
pids+=($!)
organization=$(value_of "$lab/relay.log" organization)
common_name=$(value_of "$lab/relay.log" commonName)

# A copy of the program with a configuration of its own beside it; 9 is a self-signed certificate.
mkdir -p "$lab/program"
cp "$build/app/MyQuorvaneRE" "$lab/program/"
cat >"$lab/program/MyQuorvaneRE.xml" <<EOF
<?xml version="1.0" encoding="ISO-8859-1"?>
<settings version="1">
  <applicationSettings>
    <logger logMaxSize="512" logMaxFiles="25" sshVerbosity="1"/>
    <server hostname="127.0.0.1" hostport="$ssh_port"/>
    <trustedCertificates>
      <certificate sslError="9" organization="$organization" commonName="$common_name"/>
    </trustedCertificates>
  </applicationSettings>
  <knownDevices>
    <device id="1" name="Lab codec" serialno="$serial" password="$codec_password"/>
  </knownDevices>
  <recentDevices maxDevices="10">
    <device id="1"/>
  </recentDevices>
</settings>
EOF

echo "Lab running in $lab: device ($lab/device.log), relay on 127.0.0.1:443 ($lab/relay.log),"
echo "sshd on 127.0.0.1:$ssh_port. Logs of the application: $lab/program/logs/."
if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the application: pick \"Lab codec\" under \"&Recent\". Ctrl+C stops the lab."
    "$lab/program/MyQuorvaneRE" &
    pids+=($!)
else
    echo "No X display: start $lab/program/MyQuorvaneRE on one. Ctrl+C stops the lab."
fi
wait
