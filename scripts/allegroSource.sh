# Allegro 4.4.3.1's upstream source, shared by the Windows and the web
# builds: fetched once from this machine's own Debian mirror into the given
# folder and checked against the checksum of Debian's source package.
# Sourced; the caller defines die and log. fetch_allegro_source <folder>
# leaves the tarball at <folder>/$ALLEGRO_TARBALL; build_patched_allegro
# builds it once for each version of what goes into it.

ALLEGRO_SOURCE_PACKAGE=allegro4.4
ALLEGRO_TARBALL=allegro4.4_4.4.3.1.orig.tar.gz

# The URI of this machine's own Debian mirror for the given suite, read from
# its apt sources (one-line and deb822 forms).
debian_mirror() {
    local suite=$1
    shopt -s nullglob
    local lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)
    local stanzas=(/etc/apt/sources.list.d/*.sources)
    shopt -u nullglob
    {
        [ ${#lists[@]} -eq 0 ] || cat "${lists[@]}" 2>/dev/null |
            awk -v suite="$suite" '$1 == "deb" {
                i = 2
                if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                if ($(i + 1) == suite) print $i
            }'
        [ ${#stanzas[@]} -eq 0 ] || awk -v suite="$suite" 'BEGIN { RS = ""; FS = "\n" }
            {
                types = ""; uris = ""; suites = ""
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Types:/) types = " " substr($i, 7) " "
                    else if ($i ~ /^URIs:/) uris = substr($i, 6)
                    else if ($i ~ /^Suites:/) suites = " " substr($i, 8) " "
                }
                if (types ~ / deb / && suites ~ " " suite " ") { split(uris, u, " "); print u[1] }
            }' "${stanzas[@]}"
    } | head -n 1
}

# Downloads the upstream tarball of Debian's Allegro source package through a
# private apt set-up, so that the machine's own stays as it is, and checks it
# against the checksum that the package's .dsc gives.
fetch_allegro_source() {
    local apt=$1
    if [ ! -f "$apt/$ALLEGRO_TARBALL" ]; then
        local suite mirror
        suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
        mirror=$(debian_mirror "$suite")
        [ -n "$mirror" ] || die "no Debian mirror for $suite in /etc/apt"
        log "fetching the $ALLEGRO_SOURCE_PACKAGE source"
        mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
        echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" \
            >"$apt/sources.list"
        local options=(-o "Dir::Etc::sourcelist=$apt/sources.list" -o Dir::Etc::sourceparts=-
                       -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
        apt-get "${options[@]}" update >"$apt/update.log" 2>&1 ||
            { cat "$apt/update.log" >&2; die "could not read the source package lists"; }
        # Debian's own patch tarball may be refused; only the upstream one counts.
        (cd "$apt" && apt-get "${options[@]}" source --download-only "$ALLEGRO_SOURCE_PACKAGE" \
            >source.log 2>&1) || true
        [ -f "$apt/$ALLEGRO_TARBALL" ] || { cat "$apt/source.log" >&2; die "$ALLEGRO_TARBALL was not fetched"; }
    fi
    local expected
    expected=$(awk -v file="$ALLEGRO_TARBALL" '/^Checksums-Sha256:/ { in_list = 1; next }
                                               /^[^ ]/ { in_list = 0 }
                                               in_list && $3 == file { print $1 }' "$apt"/*.dsc)
    [ -n "$expected" ] || die "no checksum of $ALLEGRO_TARBALL in the .dsc"
    echo "$expected  $apt/$ALLEGRO_TARBALL" | sha256sum --check --quiet ||
        die "$ALLEGRO_TARBALL does not match its checksum"
}

# build_patched_allegro <key> <message> <prepare> [cmake option...]: unpacks
# $OUT/apt/$ALLEGRO_TARBALL, runs <prepare> on the unpacked folder, applies
# $ALLEGRO_PATCH and builds the static library with $TOOLCHAIN into
# $OUT/allegro-<key>, unless a build for that key is there already (older
# ones are removed); prints where it is installed.
build_patched_allegro() {
    local key=$1 message=$2 prepare=$3
    shift 3
    local prefix="$OUT/allegro-$key"
    if [ ! -f "$prefix/lib/liballeg.a" ]; then
        log "$message" >&2
        find "$OUT" -maxdepth 1 -type d -name 'allegro-*' -exec rm -rf {} +
        local source="$OUT/allegro-source" build="$OUT/allegro-build"
        rm -rf "$source" "$build"
        mkdir -p "$source"
        tar -xzf "$OUT/apt/$ALLEGRO_TARBALL" -C "$source" --strip-components=1
        "$prepare" "$source"
        patch -d "$source" -p1 --quiet <"$ALLEGRO_PATCH"
        cmake -S "$source" -B "$build" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DSHARED=OFF \
            -DWANT_EXAMPLES=OFF -DWANT_TESTS=OFF -DWANT_TOOLS=OFF -DWANT_DOCS=OFF \
            -DWANT_ALLEGROGL=OFF -DWANT_LOADPNG=OFF -DWANT_LOGG=OFF -DWANT_JPGALLEG=OFF "$@" \
            >"$OUT/allegro-configure.log" 2>&1 ||
            { cat "$OUT/allegro-configure.log" >&2; die "Allegro's configuration failed"; }
        cmake --build "$build" -j 2 >"$OUT/allegro-build.log" 2>&1 ||
            { tail -n 40 "$OUT/allegro-build.log" >&2; die "Allegro's build failed"; }
        cmake --install "$build" >/dev/null
        rm -rf "$source" "$build"
    fi
    echo "$prefix"
}
