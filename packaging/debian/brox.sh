#!/bin/sh
# Starts Brox, or (installed as brox-settings) its settings window, in the
# player's own folder, which holds the player's configuration and links to
# the installed pictures and sounds. Both programs read their files from the
# folder they start in; the game takes no arguments, the settings do.
self=$(readlink -f "$0" 2>/dev/null) || self=$0
prefix=$(cd "$(dirname "$self")/.." && pwd -P)
program=$(basename "$self")
game="$prefix/lib/games/brox/$program"
shared="$prefix/share/games/brox"

if [ -n "${XDG_CONFIG_HOME:-}" ]; then
    folder="$XDG_CONFIG_HOME/brox"
elif [ -n "${HOME:-}" ]; then
    folder="$HOME/.config/brox"
else
    folder=
fi

# The shipped configuration is copied on the first start only, so the
# player's edits stay; the links to the pictures and sounds are laid again at
# every start, so that an upgrade's files are used, unless the player put a
# file of their own there.
prepare_folder() {
    [ -n "$folder" ] && mkdir -p "$folder" 2>/dev/null || return 1
    if [ ! -e "$folder/broxConfig.txt" ]; then
        cp "$shared/broxConfig.txt" "$folder/broxConfig.txt" 2>/dev/null || return 1
    fi
    for data in picData.dat sndData.dat; do
        if [ -L "$folder/$data" ] || [ ! -e "$folder/$data" ]; then
            ln -sfn "$shared/$data" "$folder/$data" 2>/dev/null || return 1
        fi
    done
}

if prepare_folder && cd "$folder"; then
    exec "$game" "$@"
fi
if [ "$program" = brox-settings ]; then
    echo "brox-settings: cannot use ${folder:-a settings folder (no HOME)}; there is nowhere to keep the settings" >&2
    exit 1
fi
echo "brox: cannot use ${folder:-a settings folder (no HOME)}; playing with the shipped configuration" >&2
cd "$shared" && exec "$game"
