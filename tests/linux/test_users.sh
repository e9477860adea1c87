#!/usr/bin/env bash
# The ordinary users the Linux tests run the program as when they run as root: lintavo-op in
# the group dialout, as an operator is, and lintavo-guest outside it, as every new user is.
set -euo pipefail
[ "$(id -u)" = 0 ] || exit 0
id lintavo-op >/dev/null 2>&1 ||
  useradd --system --no-create-home --shell /usr/sbin/nologin --groups dialout lintavo-op
id lintavo-guest >/dev/null 2>&1 ||
  useradd --system --no-create-home --shell /usr/sbin/nologin lintavo-guest
id lintavo-op lintavo-guest
