# Wine's font replacements, sourced by scripts that need Wine to draw the
# document's faces as Windows does. Without Microsoft's fonts Wine draws
# every face it lacks, Times New Roman and Courier New too, in its default
# Liberation Sans: it does not follow fontconfig's metric aliases. Windows
# draws them in their own faces, whose metrics the Liberation faces share;
# the replacements make Wine draw those. Needs the rig's Wine environment.
# shellcheck shell=bash

font_replacements=('Arial=Liberation Sans' 'Times New Roman=Liberation Serif' 'Courier New=Liberation Mono')

# Takes them out again, so later cases find the prefix as it was.
remove_font_replacements() {
  local pair
  for pair in "${font_replacements[@]}"; do
    wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /f </dev/null >/dev/null 2>&1 || true
  done
}

set_font_replacements() {
  local pair
  for pair in "${font_replacements[@]}"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f \
      </dev/null >/dev/null 2>&1 || { echo "cannot set Wine's font replacement $pair" >&2; return 1; }
  done
}
