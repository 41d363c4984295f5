#!/usr/bin/env bash
# Installs Wine's 32-bit loader (wine32:i386) for the 32-bit kit's smoke test,
# where it can run: only when this machine's kernel runs 32-bit x86 programs,
# tried with a 93-byte ELF program that only exits. Never fails the build: on
# a machine that cannot, the smoke test of the 32-bit kit reports "skipped".
set -uo pipefail
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && exit 0
# In the checkout, not /tmp, which may be mounted without execution.
probe=$(mktemp ./.i386-probe.XXXXXX)
trap 'rm -f "$probe"' EXIT
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
chmod +x "$probe"
if ! "$probe" 2> /dev/null; then
  echo "This kernel does not run 32-bit x86 programs: the 32-bit kit's smoke test is skipped."
  exit 0
fi
echo "Installing Wine's 32-bit loader (wine32:i386) for the 32-bit kit's smoke test"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
{ $SUDO dpkg --add-architecture i386 && $SUDO apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends wine32:i386; } ||
  echo "wine32:i386 did not install: the 32-bit kit's smoke test is skipped."
exit 0
