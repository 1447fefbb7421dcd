#!/usr/bin/env bash
# Prepares a demo register folder for Ombriel: a Doc folder with file and link
# entries of every colour, a viewer settings file and a background picture.
# Usage: make-demo-register.sh <folder>   (the folder's register is replaced)
set -euo pipefail
dir=${1:?usage: make-demo-register.sh <folder>}
rm -rf "$dir/Doc" "$dir/Img" "$dir/Ombriel.ini"
mkdir -p "$dir/Doc" "$dir/Img"

# record <key> <target> <description>: one record file, two quoted CR LF lines.
record() { printf '"%s"\r\n"%s"\r\n' "$2" "$3" > "$dir/Doc/$1.dat"; }

# File entries: the document lies in Doc beside its record.
for f in "Offerta clienti 2024.pdf" "Verbale assemblea.doc" "Bilancio 2023.xls" \
         "Installa stampante.exe" "Note riunione.txt"; do
  printf 'Documento dimostrativo: %s\r\n' "$f" > "$dir/Doc/$f"
done
record "Offerta clienti 2024.pdf" "" "Offerta ai clienti per il 2024"
record "Verbale assemblea.doc" "" "Verbale dell'assemblea dei soci"
record "Bilancio 2023.xls" "" "Bilancio consuntivo 2023"
record "Installa stampante.exe" "" "Programma di installazione della stampante"
record "Note riunione.txt" "" "Appunti della riunione di marzo"
# Link entries: the record holds the document's full path.
record "Manuale qualita.PDF" 'C:\Documenti\Qualita\Manuale qualita.PDF' "Manuale della qualità (link)"
record "Lettera fornitori.doc" 'C:\Documenti\Lettere\Lettera fornitori.doc' "Lettera ai fornitori (link)"
record "Prezzi listino.xls" 'D:\Archivio\Listini\Prezzi listino.xls' "Listino prezzi, edizione 2024 (link)"
record "calc.exe" 'C:\Windows\System32\calc.exe' "Calcolatrice di sistema (link)"
record "Relazione.docx" 'C:\Documenti\Relazione.docx' "Relazione annuale (link, tipo non colorato)"

# The accented description above is UTF-8 in this script; the register's own
# files are Windows-1252.
if command -v iconv >/dev/null; then
  f="$dir/Doc/Manuale qualita.PDF.dat"
  iconv -f UTF-8 -t WINDOWS-1252 "$f" > "$f.tmp" && mv "$f.tmp" "$f"
fi

printf '""\r\n""\r\n""\r\n' > "$dir/Ombriel.ini"

# Background: a soft gradient with a band at the top, drawn at its own size
# (no text, so no font is needed).
convert -size 760x560 gradient:'#dfe9f5-#8fb0d8' -fill '#1f3f6f' \
  -draw 'rectangle 0,0 759,24' -fill '#c9a227' -draw 'rectangle 0,25 759,28' \
  "$dir/Img/Sfondo.jpg"
