# Sourced by the check scripts: a scratch folder that goes at exit, and
# fail MESSAGE, which ends the check.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
