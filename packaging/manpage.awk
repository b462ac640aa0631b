# manpage.awk — a manual page from sections of the README, so the two never
# disagree. Understands the little Markdown the README uses: "##" and "###"
# headings, paragraphs, "- " lists (an item that starts with `--option` —
# becomes a tagged paragraph), fenced code blocks, tables and inline `code`.
#
#   awk -v page=NAME -v section=6 -v summary="..." -v version=1.0.0 -v date=2026-12-08 \
#       -v sections="Command line|Files" -f manpage.awk README.md
BEGIN {
  n = split(sections, wanted, "|")
  for (i = 1; i <= n; i++) keep[wanted[i]] = 1
  # The first line asks man to run tbl for the tables.
  print "'\\\" t"
  printf ".TH %s %s \"%s\" \"%s %s\" \"Plimbo Direr\"\n", toupper(page), section, date, page, version
  print ".SH NAME"
  printf "%s \\- %s\n", page, summary
}

# Text for roff: backslashes escaped, Markdown marks turned into fonts, the
# dashes and signs the README uses spelled the way groff knows them.
function inline(s,    out, pre, code) {
  gsub(/\\/, "\\e", s)
  gsub(/—/, "\\(em", s); gsub(/−/, "\\-", s); gsub(/…/, "...", s); gsub(/×/, "\\(mu", s)
  out = ""
  while (match(s, /`[^`]*`/)) {
    pre = substr(s, 1, RSTART - 1)
    code = substr(s, RSTART + 1, RLENGTH - 2)
    gsub(/-/, "\\-", code)
    out = out pre "\\fB" code "\\fR"
    s = substr(s, RSTART + RLENGTH)
  }
  s = out s
  while (match(s, /\*\*[^*]+\*\*/)) s = substr(s, 1, RSTART - 1) "\\fB" substr(s, RSTART + 2, RLENGTH - 4) "\\fR" substr(s, RSTART + RLENGTH)
  return s
}

# A line of text must not start with a roff control character.
function emit(s) {
  if (s ~ /^[.']/) s = "\\&" s
  print s
}

function cells(line, out,    n, i) {
  sub(/^ *\|/, "", line); sub(/\| *$/, "", line)
  n = split(line, out, "|")
  for (i = 1; i <= n; i++) { gsub(/^ +| +$/, "", out[i]); out[i] = inline(out[i]) }
  return n
}

function endtable() {
  if (intable) print ".TE"
  intable = 0
}

/^## / {
  endtable()
  heading = substr($0, 4)
  on = (heading in keep)
  if (on) { h = heading; gsub(/`/, "", h); print ".SH " toupper(h) }
  next
}
/^# / { on = 0; next }
!on { next }

/^```/ {
  endtable()
  incode = !incode
  print incode ? ".PP\n.RS\n.nf" : ".fi\n.RE"
  next
}
incode { line = $0; gsub(/\\/, "\\e", line); emit(line); next }

/^### / { endtable(); print ".SS " inline(substr($0, 5)); next }

/^\|/ {
  if ($0 ~ /^\| *-/) next  # the line under the header
  ncol = cells($0, cell)
  if (!intable) {
    intable = 1
    print ".TS\nallbox;"
    fmt = ""
    for (i = 1; i < ncol; i++) fmt = fmt "lB "
    print fmt "lB"
    fmt = ""
    for (i = 1; i < ncol; i++) fmt = fmt "l "
    print fmt "lx."
    header = 1
  }
  row = ""
  for (i = 1; i < ncol; i++) row = row cell[i] "\t"
  print row "T{\n" cell[ncol] "\nT}"
  next
}
{ endtable() }

/^- / {
  item = substr($0, 3)
  rest = ""
  if (match(item, /^`[^`]*`/)) rest = substr(item, RLENGTH + 1)
  if (sub(/^ — /, "", rest)) {
    print ".TP 8\n" inline(substr(item, 1, length(item) - length(rest) - length(" — ")))
    emit(inline(rest))
  } else {
    print ".IP \\(bu 2"
    emit(inline(item))
  }
  next
}
/^$/ { blank = 1; next }
{
  line = $0
  sub(/^ +/, "", line)
  # Indented lines continue a list item; others after a blank start a paragraph.
  if (blank && $0 !~ /^ /) print ".PP"
  blank = 0
  emit(inline(line))
}
END { endtable() }
