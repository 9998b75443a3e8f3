#!/bin/sh
# The shared library exports the MiniToolbars interface and nothing else.
set -eu
lib=$1
bad=$(nm -D --defined-only -C "$lib" | awk '{ $1=""; $2=""; sub(/^  /, ""); print }' |
    grep -v -E '^(MiniToolbars::|MTBxItemEvents|MTBxToolbarEvents|(typeinfo|typeinfo name|vtable) for (MiniToolbars::|MTBxItemEvents|MTBxToolbarEvents)|_init$|_fini$|__bss_start|_edata|_end$)' || true)
if [ -n "$bad" ]; then
    echo "Symbols outside the exported interface:"
    echo "$bad"
    exit 1
fi
echo "exports: $(nm -D --defined-only "$lib" | wc -l) symbols, all in the interface"
