# The layers of a test run (scripts/test): each layer runs in a subshell of
# its own, and the run ends with a table of every layer: passed, failed, or
# not run and why.
# shellcheck shell=bash

# A layer's command exits with this status after `layer_not_run REASON`.
QV_NOT_RUN_STATUS=76

LAYER_NAMES=()
LAYER_RESULTS=()

# layer_not_run REASON: ends the current layer as not run, for REASON.
layer_not_run() {
    printf '%s\n' "$1" >"$QV_LAYER_NOTE"
    exit "$QV_NOT_RUN_STATUS"
}

# layer NAME COMMAND...: runs COMMAND as the layer NAME, its output shown and
# kept. The layer fails when COMMAND fails, and also when it succeeds but a
# test inside it was skipped (ctest's "(Skipped)"): a layer that runs runs
# all of its tests. Status QV_REGISTRY_STATUS (from ensure_packages) or
# QV_NOT_RUN_STATUS marks it not run.
layer() {
    local name=$1
    shift
    local log note rc result
    log=$(mktemp /tmp/qv-layer.XXXXXX)
    note=$(mktemp /tmp/qv-layer-note.XXXXXX)
    echo "== $name =="
    local errexit=$-
    set +e
    (
        set -e
        export QV_REGISTRY_NOTE=$note QV_LAYER_NOTE=$note
        "$@"
    ) 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    [[ $errexit != *e* ]] || set -e
    if [ "$rc" -eq 0 ]; then
        local skipped
        skipped=$(grep -cE '\(Skipped\)$' "$log" || true)
        if [ "$skipped" -gt 0 ]; then
            result="failed: $skipped test(s) skipped"
            grep -E '\(Skipped\)$' "$log" | sed 's/^/    /' >&2
        else
            result=passed
        fi
    elif [ "$rc" -eq "$QV_REGISTRY_STATUS" ]; then
        result="not run: package registry: $(head -n 1 "$note")"
    elif [ "$rc" -eq "$QV_NOT_RUN_STATUS" ]; then
        result="not run: $(head -n 1 "$note")"
    else
        result="failed (status $rc)"
    fi
    rm -f "$log" "$note"
    LAYER_NAMES+=("$name")
    LAYER_RESULTS+=("$result")
}

# layer_result NAME: the result of the layer NAME so far ("" before it ran).
layer_result() {
    local i
    for i in "${!LAYER_NAMES[@]}"; do
        [ "${LAYER_NAMES[$i]}" != "$1" ] || { printf '%s\n' "${LAYER_RESULTS[$i]}"; return 0; }
    done
}

# layers_report: prints the table, then each layer that did not run on a
# line of its own as the very last lines, and returns the run's status:
# 1 when a layer failed, when none passed, or when one did not run and
# QV_REQUIRE_ALL=1; else 0.
layers_report() {
    local i status=0 passed=0 not_run=()
    echo
    echo "== layers =="
    for i in "${!LAYER_NAMES[@]}"; do
        printf '%-12s %s\n' "${LAYER_NAMES[$i]}" "${LAYER_RESULTS[$i]}"
        case ${LAYER_RESULTS[$i]} in
        passed) passed=$((passed + 1)) ;;
        "not run"*) not_run+=("${LAYER_NAMES[$i]}: ${LAYER_RESULTS[$i]}") ;;
        *) status=1 ;;
        esac
    done
    if [ "$passed" -eq 0 ]; then
        echo "no layer passed: nothing was tested"
        status=1
    fi
    if [ ${#not_run[@]} -gt 0 ]; then
        echo
        if [ "${QV_REQUIRE_ALL:-0}" = 1 ]; then
            echo "QV_REQUIRE_ALL=1: every layer must run; these did not:"
            status=1
        else
            echo "Not run, and not counted as failures (QV_REQUIRE_ALL=1 counts them):"
        fi
        printf '%s\n' "${not_run[@]}"
    fi
    return $status
}
