# Sourced by the wine scripts: a wine prefix of our own (cached outside the repository) where the
# cross-built programs find their DLLs, and a Chinese font standing in for 微软雅黑, which a real
# Windows has and wine does not.
prefix=${KAVREL_WIN_PREFIX:-$HOME/.cache/kavrel-win64}
export WINEPREFIX=${KAVREL_WINEPREFIX:-$HOME/.cache/kavrel-wine64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$prefix/bin;/usr/x86_64-w64-mingw32/lib;/usr/lib/gcc/x86_64-w64-mingw32/12-posix"
if [ ! -f "$WINEPREFIX/.kavrel-ready" ]; then
  wineboot -i >/dev/null 2>&1
  font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  if [ -f "$font" ]; then
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '微软雅黑' /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  fi
  wineserver -w
  touch "$WINEPREFIX/.kavrel-ready"
fi
