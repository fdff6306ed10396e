# Every kind of content other applications copy becomes the right kind of history entry, with its
# files; content that is too small or concealed becomes none.
#
# With STASHWELL_RICH_CAPTURE=0 only what a text-only classifier records is checked: rich kinds yield
# nothing, and rich content with a text flavour yields text.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

RICH=${STASHWELL_RICH_CAPTURE:-1}
FIXTURES="$TEST_ROOT/fixtures"
mkdir -p "$FIXTURES"
"$PYTHON" "$(dirname "$0")/make-capture-fixtures.py" "$FIXTURES"
convert -size 200x100 xc:red "png:$FIXTURES/wide.png"
convert -size 120x80 xc:blue "tiff:$FIXTURES/photo.tiff"
convert -size 63x63 xc:green "png:$FIXTURES/small.png"
convert -size 100x70 xc:yellow "bmp:$FIXTURES/drawing.bmp"

start_desktop
start_stashwell

# check NAME RICH_CHECKS... -- TEXT_ONLY_CHECKS...: "skipped" for a change that records nothing.
check() {
    local name=$1
    shift
    local rich=() plain=() into=rich
    for arg in "$@"; do
        if [[ $arg == -- ]]; then
            into=plain
        elif [[ $into == rich ]]; then
            rich+=("$arg")
        else
            plain+=("$arg")
        fi
    done
    local checks=("${rich[@]}")
    [[ $RICH == 1 ]] || checks=("${plain[@]}")
    if [[ ${checks[0]} == skipped ]]; then
        expect_skipped "$name"
    else
        expect_newest "${checks[@]}" || fail "$name: $(HISTORY_VERBOSE=1 history newest "${checks[@]}" 2>&1)"
    fi
    note "$name"
}

copy_text "plain words"
check "text" kind=text text="plain words" characterCount=11 -- kind=text text="plain words"

copy_text "https://example.org/page"
check "link" kind=link text="https://example.org/page" -- kind=text

own --target "text/html=<p>Formatted <b>words</b></p>" --target "UTF8_STRING=Formatted words"
check "HTML with formatting" kind=html text^="Formatted words" assetPath=@file -- kind=text text="Formatted words"

own --target "text/html=<span>Unformatted words</span>" --target "UTF8_STRING=Unformatted words"
check "HTML without formatting" kind=text text="Unformatted words" assetPath=-- -- kind=text text="Unformatted words"

printf '<i>only html</i>' >"$FIXTURES/only.html"
copy_file text/html "$FIXTURES/only.html"
check "HTML alone" kind=html text^="only html" -- skipped

copy_file image/png "$FIXTURES/wide.png"
check "PNG" kind=image imageWidth=200 imageHeight=100 imagePath=@file thumbnailPath=@file text=-- -- skipped

copy_file image/tiff "$FIXTURES/photo.tiff"
check "TIFF" kind=image imageWidth=120 imageHeight=80 imagePath=@file -- skipped

copy_file image/bmp "$FIXTURES/drawing.bmp"
check "BMP offered as PNG" kind=image imageWidth=100 imageHeight=70 imagePath=@file -- skipped

copy_file image/png "$FIXTURES/small.png"
check "63x63 PNG" skipped -- skipped

own --target "image/png=@$FIXTURES/small.png" --target "UTF8_STRING=small image caption"
check "63x63 PNG with text" kind=text text="small image caption" -- kind=text text="small image caption"

copy_file application/pdf "$FIXTURES/page.pdf"
check "PDF" kind=pdf text="PDF document" imageWidth=200 imageHeight=100 imagePath=@file assetPath=@file -- skipped

copy_file application/pdf "$FIXTURES/damaged.pdf"
check "damaged PDF" kind=pdf imageWidth=0 imageHeight=0 imagePath=-- assetPath=@file -- skipped

copy_file text/rtf "$FIXTURES/styled.rtf"
check "RTF" kind=richText text^="Bold words" assetPath=@file -- skipped

printf 'file:///tmp/one.txt\r\nfile:///tmp/two%%20words.txt\r\n' >"$FIXTURES/files.uris"
copy_file text/uri-list "$FIXTURES/files.uris"
check "uri-list" kind=file "filePaths=/tmp/one.txt,/tmp/two words.txt" text=-- -- skipped

printf 'copy\nfile:///tmp/three.txt' >"$FIXTURES/copied-files"
copy_file x-special/gnome-copied-files "$FIXTURES/copied-files"
check "gnome-copied-files" kind=file filePaths=/tmp/three.txt -- skipped

copy_file application/x-color "$FIXTURES/color.bin"
check "x-color" kind=color colorHex="#FF8000" text="#FF8000" -- skipped

own --target "UTF8_STRING=concealed words" --target "org.nspasteboard.ConcealedType="
check "concealed words" skipped -- skipped

stop_stashwell
