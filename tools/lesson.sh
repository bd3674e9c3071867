# The tour's lesson: the head phantom at three doses, row 43 rebuilt by simple
# backprojection and four filters, one picture grid and the table of quorvel_data
# compare's figures. Sourced by ./run, not run.

LESSON_LEVELS="100 1000 10000"                       # largest expected count of each volume
LESSON_METHODS="simple ramp shepp_logan hann hann_half"
LESSON_ROW=43
LESSON_FONT=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf   # from ./run's packages

lesson_method_title() {
    case $1 in
        simple) echo "simple backprojection" ;;
        ramp) echo "ramp" ;;
        shepp_logan) echo "Shepp-Logan" ;;
        hann) echo "Hann" ;;
        hann_half) echo "Hann, cutoff 0.5" ;;
        *) echo "$1" ;;
    esac
}

# Writes the volumes and filters into FOLDER: make_lesson_data TOOL FOLDER
make_lesson_data() {
    local tool=$1 folder=$2 n
    mkdir -p "$folder" || return 1
    for n in $LESSON_LEVELS; do
        "$tool" sinogram "$folder/head_$n.sino" --phantom head --counts "$n" --noise poisson --seed "$n" || return 1
    done
    "$tool" filter "$folder/ramp.txt" ramp &&
    "$tool" filter "$folder/shepp_logan.txt" shepp-logan &&
    "$tool" filter "$folder/hann.txt" hann &&
    "$tool" filter "$folder/hann_half.txt" hann --cutoff 0.5
}

# The volumes and methods as the tour program takes them.
lesson_volumes() { local n out=""; for n in $LESSON_LEVELS; do out="$out head_$n"; done; echo $out; }

# From the saved pictures in FOLDER: the grid GRID.png and the markdown table TABLE.md.
# report_lesson TOOL FOLDER GRID TABLE
report_lesson() {
    local tool=$1 folder=$2 grid=$3 table=$4 n m csv header="" tiles=()
    {
        echo "| Max count | Method | Correlation | RMS error | Contrast recovery: hot r9 | hot r6 | hot r4 | cold r8 | Noise (%) |"
        echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|"
        for n in $LESSON_LEVELS; do
            for m in $LESSON_METHODS; do
                local picture="$folder/head_$n-$m.bmp"
                csv=$("$tool" compare "$picture" --phantom head --row "$LESSON_ROW" --csv) || return 1
                header=$(echo "$csv" | head -n 1)
                [ "$header" = "picture,correlation,nrmse,cr_hot_r9,cr_hot_r6,cr_hot_r4,cr_cold_r8,noise_percent" ] || {
                    echo "unexpected columns from compare: $header" >&2; return 1; }
                echo "$csv" | tail -n 1 | awk -F, -v n="$n" -v m="$(lesson_method_title "$m")" \
                    '{ printf "| %s | %s | %.3f | %.3f | %.2f | %.2f | %.2f | %.2f | %.1f |\n", n, m, $2, $3, $4, $5, $6, $7, $8 }'
                # The final image alone, one pixel per sample.
                convert "$picture" -crop 512x512+0+140 +repage -resize 50% "$folder/tile-$n-$m.png" || return 1
                local title=$(lesson_method_title "$m")
                [ "$m" = simple ] && title="simple"
                tiles+=(-label "max count $n: $title" "$folder/tile-$n-$m.png")
            done
        done
    } > "$table.part" || { rm -f "$table.part"; return 1; }
    mv "$table.part" "$table"
    montage "${tiles[@]}" -tile "$(echo $LESSON_METHODS | wc -w)x" -geometry 256x256+6+6 \
        -background black -fill white -font "$LESSON_FONT" -pointsize 15 "$grid" || return 1
}

# Puts TABLE between the lesson markers of README: splice_lesson README TABLE
splice_lesson() {
    local readme=$1 table=$2
    grep -q '^<!-- lesson table: written by ./run --tour -->$' "$readme" || return 0
    awk -v table="$table" '
        /^<!-- lesson table: written by .\/run --tour -->$/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
        /^<!-- end of lesson table -->$/ { skip = 0 }
        !skip { print }
    ' "$readme" > "$readme.part" && mv "$readme.part" "$readme"
}
