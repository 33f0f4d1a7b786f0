#!/usr/bin/env bash
# Installs the build into a temporary prefix as `cmake --install` does, then uses it from there as a user
# would: outside any prepared folder the tool lays out its working folder in the user's data folder from
# the installed data, the command-line tool and the window start, and the window opens an application
# named on its command line. Also checks the desktop files with their validators, the icon sizes, the
# manual pages, the bash completion, that a prepared working directory given with --workdir is still
# used as it is, and that the Debian package builds with what it needs.
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
src=$(cd "${2:?source directory}" && pwd)
fail() {
  echo "install: $*" >&2
  exit 1
}
[ -x "$build/quillon-cli" ] || fail "quillon-cli is not built"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }

for f in bin/quillon-cli bin/quillon-unitsim share/quillon/shipped/plc/orvk_all.PLC share/quillon/shipped/plc/orvk_sel.PLC \
  share/quillon/shipped/drivers/01000101.abs share/quillon/shipped/help/frontpage.htm \
  share/quillon/shipped/fonts/orvik5x7.fnt \
  share/bash-completion/completions/quillon-cli; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
[ ! -e "$prefix/share/quillon/shipped/drivers/README" ] || fail "the build notes were installed with the data"
# A page that only this installation has: the working folder must be laid out from here.
echo "<html><body>installed</body></html>" >"$prefix/share/quillon/shipped/help/installed-here.htm"

gui=""
if [ -x "$build/quillon" ]; then
  gui="$prefix/bin/quillon"
  app=org.quillon.Quillon
  for f in "share/applications/$app.desktop" "share/metainfo/$app.metainfo.xml" "share/mime/packages/$app.xml" \
    "share/icons/hicolor/scalable/apps/$app.svg"; do
    [ -s "$prefix/$f" ] || fail "$f is not installed"
  done
  # Every PNG has the size of the folder it stands in (the width and height of its IHDR chunk).
  for size in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png"
    [ -s "$png" ] || fail "no ${size}x${size} icon"
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$w $h" = "$size $size" ] || fail "the ${size}x${size} icon is $w x $h"
  done
  grep -qx "Exec=quillon %f" "$prefix/share/applications/$app.desktop" || fail "the desktop entry does not pass the file"
  grep -qx "MimeType=application/x-quillon-application;" "$prefix/share/applications/$app.desktop" ||
    fail "the desktop entry does not take .ovm files"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
  else
    echo "install: desktop-file-validate is missing (package desktop-file-utils): not run"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" || fail "appstreamcli validate"
  else
    echo "install: appstreamcli is missing (package appstream): not run"
  fi
  # Installing brought the prefix's file types and the desktop entries' types up to date by itself.
  if command -v update-mime-database >/dev/null; then
    [ -s "$prefix/share/mime/globs2" ] || fail "installing did not update the file types of $prefix/share/mime"
    grep -q "^application/x-quillon-application:\*\.ovm$" <(cut -d: -f2- "$prefix/share/mime/globs2") ||
      fail "the file type's glob is not in the database"
  fi
  if command -v update-desktop-database >/dev/null; then
    grep -q "^application/x-quillon-application=$app.desktop;$" "$prefix/share/applications/mimeinfo.cache" ||
      fail "installing did not tell the desktop which entry opens .ovm files"
  fi
fi
if command -v help2man >/dev/null; then
  for p in quillon-cli quillon-unitsim ${gui:+quillon}; do
    page="$prefix/share/man/man1/$p.1.gz"
    [ -s "$page" ] || fail "no compressed manual page for $p"
    zgrep -q '^\.SH OPTIONS' "$page" || fail "the manual page of $p has no options"
  done
  zgrep -q '^\.SS "quillon-cli plc show"' "$prefix/share/man/man1/quillon-cli.1.gz" ||
    fail "the manual page of quillon-cli lacks the commands"
  for p in quillon-cli quillon-unitsim ${gui:+quillon}; do
    page="$prefix/share/man/man1/$p.1.gz"
    ! zgrep -qF '<prefix>' "$page" || fail "the manual page of $p names <prefix>"
    ! zcat "$page" | sed -n '/^\.SH "SEE ALSO"/,$p' | grep -q "^\.BR $p " || fail "the manual page of $p lists itself"
  done
  if [ -n "$gui" ]; then
    # The page begins with the program's own words, not with a message of the toolkit.
    first=$(zcat "$prefix/share/man/man1/quillon.1.gz" | sed -n '/^\.SH DESCRIPTION/{n;p;q}')
    [ "$first" = "Quillon: builds operator panel applications and transfers them to the panel." ] ||
      fail "the manual page of quillon begins with: $first"
  fi
fi
if [ -n "$gui" ]; then
  # Help and version need no display.
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" --help >"$tmp/help.txt" 2>"$tmp/help-err.txt" ||
    fail "quillon --help without a display: $(cat "$tmp/help-err.txt")"
  grep -q "^Usage: .*quillon \[options\] \[FILE\]$" "$tmp/help.txt" || fail "quillon --help printed: $(cat "$tmp/help.txt")"
  [ ! -s "$tmp/help-err.txt" ] || fail "quillon --help wrote to stderr: $(cat "$tmp/help-err.txt")"
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" --version)" = "Quillon $(sed -n 's/^project(Quillon VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] ||
    fail "quillon --version without a display"
  # Without a display the window says so and ends, instead of aborting.
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$gui" >/dev/null 2>"$tmp/nodisplay.txt"
  rc=$?
  set -e
  [ "$rc" -eq 1 ] && grep -q "no display" "$tmp/nodisplay.txt" || fail "quillon without a display: rc $rc, $(cat "$tmp/nodisplay.txt")"
fi

# The user's machine: an empty home, started from a folder that is not a prepared working directory.
export HOME="$tmp/home"
unset XDG_DATA_HOME
mkdir -p "$HOME" "$tmp/elsewhere"
cd "$tmp/elsewhere"
user="$HOME/.local/share/quillon"

"$prefix/bin/quillon-cli" --help | grep -q "^Usage: " || fail "quillon-cli --help"
"$prefix/bin/quillon-unitsim" --help | grep -q "^Usage: " || fail "quillon-unitsim --help"
ids=$("$prefix/bin/quillon-cli" plc list | awk '$1 ~ /^[0-9]+$/ { printf "%s ", $1 }')
[ "$ids" = "1 2 3 7 8 9 104 105 " ] || fail "plc list from the installed catalogs gave: $ids"
[ -s "$user/plc/orvk_all.PLC" ] && [ -s "$user/drivers/01000101.abs" ] && [ -d "$user/work/Result" ] ||
  fail "the user's working folder was not laid out in $user"
[ -s "$user/work/help/installed-here.htm" ] || fail "the working folder was not filled from $prefix"
"$prefix/bin/quillon-cli" new --model 500 "$tmp/elsewhere/Plant 1.ovm" >/dev/null || fail "quillon-cli new"
[ -z "$(ls -A "$tmp/elsewhere" | grep -v '^Plant 1.ovm$')" ] || fail "the tool left files in the current directory"

# Installed for one user, as the README shows: the installed data and the user's folder are apart, and
# what the user changed (PLC selection, settings, picture library, font) survives a second installation
# and the starts after it.
home1=$HOME
export HOME="$tmp/home-local"
mkdir -p "$HOME"
local_user="$HOME/.local/share/quillon"
install_local() {
  cmake --install "$build" --prefix "$HOME/.local" --strip >"$tmp/install-local.log" 2>&1 || {
    cat "$tmp/install-local.log" >&2
    fail "cmake --install --prefix \$HOME/.local failed"
  }
}
install_local
[ -s "$HOME/.local/share/quillon/shipped/plc/orvk_sel.PLC" ] || fail "the data was not installed in share/quillon/shipped"
if [ -n "$gui" ] && command -v update-mime-database >/dev/null; then
  grep -q ":application/x-quillon-application:\*\.ovm$" "$HOME/.local/share/mime/globs2" ||
    fail "a per-user installation leaves .ovm files untyped"
fi
"$HOME/.local/bin/quillon-cli" plc list >/dev/null || fail "plc list after a per-user installation"
# Installed as `make install` does: the programs are stripped.
for p in "$HOME"/.local/bin/*; do
  file "$p" | grep -q ", stripped" || fail "$(basename "$p") was installed with its symbols: $(file "$p")"
done
[ -s "$local_user/plc/orvk_sel.PLC" ] && [ -d "$local_user/work" ] || fail "the user's folder was not laid out"
sed -i '1d' "$local_user/plc/orvk_sel.PLC"
printf '[Quillon]\nLastApplication=/nowhere/mine.ovm\n' >"$local_user/work/orvik.ini"
printf 'a picture library of the user\n' >"$local_user/work/OvmPctrs.ovp"
printf 'a font of the user\n' >"$local_user/work/fonts/orvik5x7.fnt"
mkdir -p "$tmp/kept"
for f in plc/orvk_sel.PLC work/orvik.ini work/OvmPctrs.ovp work/fonts/orvik5x7.fnt; do
  cp "$local_user/$f" "$tmp/kept/${f//\//_}"
done
selected=$("$HOME/.local/bin/quillon-cli" plc list --selected)
install_local
"$HOME/.local/bin/quillon-cli" plc list >/dev/null || fail "plc list after the second installation"
install_local
for f in plc/orvk_sel.PLC work/orvik.ini work/OvmPctrs.ovp work/fonts/orvik5x7.fnt; do
  cmp -s "$local_user/$f" "$tmp/kept/${f//\//_}" || fail "$f changed by installing again"
done
[ "$("$HOME/.local/bin/quillon-cli" plc list --selected)" = "$selected" ] || fail "the PLC selection changed"
cmp -s "$HOME/.local/share/quillon/shipped/plc/orvk_sel.PLC" "$src/data/plc/orvk_sel.PLC" ||
  fail "the installed selection is not the shipped one"
export HOME=$home1

# The bash completion offers the commands and the PLC ids of the installed catalogs.
completion=$(PATH="$prefix/bin:$PATH" bash -c '
  source "$1"
  COMP_WORDS=(quillon-cli plc show ""); COMP_CWORD=3; _quillon_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(quillon-cli ren); COMP_CWORD=1; _quillon_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(quillon-cli repl); COMP_CWORD=1; _quillon_cli; echo "${COMPREPLY[*]}"
  COMP_WORDS=(quillon-cli replicate a.ovm --to ""); COMP_CWORD=4; _quillon_cli; echo "[${COMPREPLY[*]}]"
  COMP_WORDS=(quillon-cli replicate a.ovm --rename Pump1=Pump); COMP_CWORD=4; _quillon_cli; echo "${COMPREPLY[*]}"' _ \
  "$prefix/share/bash-completion/completions/quillon-cli")
[ "$completion" = $'1 2 3 7 8 9 104 105\nrender\nreplicate\n[]\nPump1=Pump{n}' ] ||
  fail "bash completion gave: $completion"

if [ -n "$gui" ]; then
  command -v xvfb-run >/dev/null || fail "xvfb-run is missing (package xvfb)"
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --quit-when-idle 2>"$tmp/stderr.txt" || {
    cat "$tmp/stderr.txt" >&2
    fail "the installed window did not start"
  }
  # Opened from the file manager: the file is named on the command line.
  file="$tmp/elsewhere/Plant 1.ovm"
  out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --screenshot "$tmp/shot.png" "$file" \
    2>"$tmp/stderr.txt") || {
    cat "$tmp/stderr.txt" >&2
    fail "the installed window did not open $file"
  }
  shown=$file
  grep -qxF "title: Quillon - [$shown]" <<<"$out" || fail "the window did not open the file: $out"
  # A relative name is taken from the folder the tool was started in.
  out=$(timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --screenshot "$tmp/shot.png" "Plant 1.ovm" \
    2>"$tmp/stderr.txt") || fail "the installed window did not open a relative name"
  grep -qxF "title: Quillon - [$shown]" <<<"$out" || fail "a relative name was not opened: $out"

  # A prepared working directory given on the command line is used as it is: closing writes its settings.
  bash "$src/scripts/prepare-run-dir.sh" "$build" "$tmp/run" >/dev/null
  printf 'quit\n' >"$tmp/quit.txt"
  rm -f "$user/work/orvik.ini"
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$gui" --workdir "$tmp/run/work" --script "$tmp/quit.txt" \
    2>"$tmp/stderr.txt" >/dev/null || {
    cat "$tmp/stderr.txt" >&2
    fail "the window did not run in the working directory given"
  }
  [ -s "$tmp/run/work/orvik.ini" ] || fail "the settings were not written to the working directory given"
  [ ! -e "$user/work/orvik.ini" ] || fail "the settings went to the user's folder instead"
  # A missing one is refused with its name.
  if timeout 60 xvfb-run -a "$gui" --workdir "$tmp/nowhere" --quit-when-idle 2>"$tmp/stderr.txt" >/dev/null; then
    fail "a missing working directory was accepted"
  fi
  grep -qF "The working directory \"$tmp/nowhere\" does not exist." "$tmp/stderr.txt" ||
    fail "no message for a missing working directory: $(cat "$tmp/stderr.txt")"
fi

# The Debian package builds, installs under /usr and names the libraries it needs.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$tmp" && cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1) || {
    cat "$tmp/cpack.log" >&2
    fail "the Debian package did not build"
  }
  deb=$(ls "$tmp"/package/quillon_*.deb)
  dpkg-deb -c "$deb" >"$tmp/contents.txt"
  grep -q " ./usr/bin/quillon-cli$" "$tmp/contents.txt" || fail "the package lacks /usr/bin/quillon-cli"
  grep -q " ./usr/share/quillon/shipped/plc/orvk_all.PLC$" "$tmp/contents.txt" || fail "the package lacks the catalogs"
  if [ -n "$gui" ]; then
    grep -q " ./usr/share/applications/org.quillon.Quillon.desktop$" "$tmp/contents.txt" ||
      fail "the package lacks the desktop entry"
    dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the package does not depend on Qt Widgets"
  fi
  ! grep -qE "/(mime\.cache|globs2|mimeinfo\.cache)$" "$tmp/contents.txt" ||
    fail "the package carries the caches of the machine it was built on"
  for f in copyright changelog.gz; do
    grep -q " ./usr/share/doc/quillon/$f$" "$tmp/contents.txt" || fail "the package lacks /usr/share/doc/quillon/$f"
  done
  ! grep -q " ./usr/share/man/man1/.*\.1$" "$tmp/contents.txt" || fail "the package has uncompressed manual pages"
  [ "$(dpkg-deb -f "$deb" Maintainer)" = "Quillon developers <quillon-dev@users.noreply.invalid>" ] ||
    fail "the package's maintainer is $(dpkg-deb -f "$deb" Maintainer)"
  # The Debian checks at their default level: no error and no warning.
  if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >"$tmp/lintian.txt" 2>&1 || {
      cat "$tmp/lintian.txt" >&2
      fail "lintian finds faults in the package"
    }
  else
    echo "install: lintian is missing (package lintian): not run"
  fi
  echo "install: package $(basename "$deb") ($(dpkg-deb -f "$deb" Depends))"
fi
echo "install: ok"
