# The tour's lessons, each a picture grid and a table of quorvel_data compare's figures.
# Dose: the head at three doses, row 43 rebuilt by simple backprojection and four
# filters in the program, and by MLEM in quorvel_data. Attenuation: the head at one dose
# as if nothing attenuated, attenuated, and attenuated then corrected, rebuilt by two
# filters in the program and by MLEM (with the attenuation in its model for the last).
# Sourced by ./run, not run.

LESSON_LEVELS="100 1000 10000"                       # largest expected count of each volume
LESSON_METHODS="simple ramp shepp_logan hann hann_half"   # the program's, in its dialogue
LESSON_MLEM_ITERATIONS=20                            # quorvel_data mlem's default
LESSON_ROW=43
LESSON_FONT=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf   # from ./run's packages

ATTENUATION_LEVEL=1000
ATTENUATION_CASES="none attenuated corrected"        # the grid's columns
ATTENUATION_METHODS="ramp hann_half"                 # the program's; then MLEM's row

lesson_method_title() {
    case $1 in
        simple) echo "simple backprojection" ;;
        ramp) echo "ramp" ;;
        shepp_logan) echo "Shepp-Logan" ;;
        hann) echo "Hann" ;;
        hann_half) echo "Hann, cutoff 0.5" ;;
        mlem) echo "MLEM, $LESSON_MLEM_ITERATIONS iterations" ;;
        mlem_model) echo "MLEM, attenuation in its model" ;;
        *) echo "$1" ;;
    esac
}

attenuation_case_title() {
    case $1 in
        none) echo "no attenuation" ;;
        attenuated) echo "attenuated, uncorrected" ;;
        corrected) echo "attenuated, corrected" ;;
    esac
}

# The volume of each case, and the picture of each case and method, in the lesson folder.
attenuation_volume() {
    case $1 in
        none) echo "head_$ATTENUATION_LEVEL" ;;
        *) echo "head_${ATTENUATION_LEVEL}_$1" ;;
    esac
}
attenuation_picture() {
    local case=$1 method=$2
    # The attenuation is corrected in MLEM's model, from the uncorrected counts.
    [ "$case" = corrected ] && [ "$method" = mlem ] && { echo "$(attenuation_volume attenuated)-mlem_model"; return; }
    echo "$(attenuation_volume "$case")-$method"
}

# Writes the volumes, the filters and the MLEM pictures into FOLDER: make_lesson_data TOOL FOLDER
make_lesson_data() {
    local tool=$1 folder=$2 n row="--row $LESSON_ROW" iterations="--iterations $LESSON_MLEM_ITERATIONS"
    mkdir -p "$folder" || return 1
    for n in $LESSON_LEVELS; do
        "$tool" sinogram "$folder/head_$n.sino" --phantom head --counts "$n" --noise poisson --seed "$n" &&
        "$tool" mlem "$folder/head_$n.sino" "$folder/head_$n-mlem.bmp" $row $iterations || return 1
    done
    # The same counts drawn from the attenuated expectation, with and without the correction.
    n=$ATTENUATION_LEVEL
    local attenuated="$folder/$(attenuation_volume attenuated).sino"
    "$tool" sinogram "$attenuated" --phantom head --counts "$n" --noise poisson --seed "$n" --attenuation &&
    "$tool" sinogram "$folder/$(attenuation_volume corrected).sino" --phantom head --counts "$n" --noise poisson \
        --seed "$n" --attenuation-corrected &&
    "$tool" mlem "$attenuated" "$folder/$(attenuation_picture attenuated mlem).bmp" $row $iterations &&
    "$tool" mlem "$attenuated" "$folder/$(attenuation_picture corrected mlem).bmp" $row $iterations \
        --attenuation --phantom head || return 1
    "$tool" filter "$folder/ramp.txt" ramp &&
    "$tool" filter "$folder/shepp_logan.txt" shepp-logan &&
    "$tool" filter "$folder/hann.txt" hann &&
    "$tool" filter "$folder/hann_half.txt" hann --cutoff 0.5
}

# The volumes and methods as the tour program takes them: the dose lesson's, then the
# attenuation lesson's volumes that the dose lesson has not rebuilt.
lesson_volumes() { local n out=""; for n in $LESSON_LEVELS; do out="$out head_$n"; done; echo $out; }
attenuation_volumes() { echo "$(attenuation_volume attenuated) $(attenuation_volume corrected)"; }

# One table row of figures and one grid tile from a saved picture:
# measure_picture TOOL PICTURE.bmp TILE.png LABEL...   prints "| LABEL... | figures |"
measure_picture() {
    local tool=$1 picture=$2 tile=$3 csv header; shift 3
    csv=$("$tool" compare "$picture" --phantom head --row "$LESSON_ROW" --csv) || return 1
    header=$(echo "$csv" | head -n 1)
    [ "$header" = "picture,correlation,nrmse,cr_hot_r9,cr_hot_r6,cr_hot_r4,cr_cold_r8,noise_percent,uniformity" ] || {
        echo "unexpected columns from compare: $header" >&2; return 1; }
    echo "$csv" | tail -n 1 | awk -F, -v labels="$(printf '| %s ' "$@")" '
        function f(v, digits,    bound) {
            if (v == "-") return "-"
            bound = v ~ /^[<>]=/ ? substr(v, 1, 2) : ""   # a bound keeps its mark
            return bound sprintf("%." digits "f", substr(v, length(bound) + 1))
        }
        { printf "%s| %s | %s | %s | %s | %s | %s | %s | %s |\n", labels, f($2, 3), f($3, 3), f($4, 2), f($5, 2),
                 f($6, 2), f($7, 2), f($8, 1), f($9, 3) }'
    # The final image alone, one pixel per sample.
    convert "$picture" -crop 512x512+0+140 +repage -resize 50% "$tile"
}

FIGURES_HEADER="Correlation | RMS error | Contrast recovery: hot r9 | hot r6 | hot r4 | cold r8 | Noise (%) | Uniformity |"
FIGURES_ALIGN="---:|---:|---:|---:|---:|---:|---:|---:|"

# Writes TABLE from the lines of a table's body that a function prints, or fails whole.
write_table() {
    local table=$1; shift
    "$@" > "$table.part" || { rm -f "$table.part"; return 1; }
    mv "$table.part" "$table"
}

# The grid GRID.png of COLUMNS tiles a row: make_grid GRID COLUMNS -label TEXT TILE...
make_grid() {
    local grid=$1 columns=$2; shift 2
    montage "$@" -tile "${columns}x" -geometry 256x256+6+6 -background black -fill white -font "$LESSON_FONT" \
        -pointsize 15 "$grid"
}

TILES=()   # the grid's tiles, each "-label TEXT FILE", filled by the table functions

dose_table() {
    local tool=$1 folder=$2 n m title
    echo "| Max count | Method | $FIGURES_HEADER"
    echo "|---:|---|$FIGURES_ALIGN"
    for n in $LESSON_LEVELS; do
        for m in $LESSON_METHODS mlem; do
            title=$(lesson_method_title "$m")
            measure_picture "$tool" "$folder/head_$n-$m.bmp" "$folder/tile-$n-$m.png" "$n" "$title" || return 1
            case $m in simple) title="simple" ;; mlem) title="MLEM" ;; esac
            TILES+=(-label "max count $n: $title" "$folder/tile-$n-$m.png")
        done
    done
}

attenuation_table() {
    local tool=$1 folder=$2 case m name title
    echo "| Data | Method | $FIGURES_HEADER"
    echo "|---|---|$FIGURES_ALIGN"
    for case in $ATTENUATION_CASES; do
        for m in $ATTENUATION_METHODS mlem; do
            name=$(attenuation_picture "$case" "$m")
            title=$(lesson_method_title "${name##*-}")
            measure_picture "$tool" "$folder/$name.bmp" "$folder/tile-$name.png" "$(attenuation_case_title "$case")" \
                "$title" || return 1
        done
    done
    # The grid: a row per method, a column per case.
    for m in $ATTENUATION_METHODS mlem; do
        for case in $ATTENUATION_CASES; do
            name=$(attenuation_picture "$case" "$m")
            TILES+=(-label "$(attenuation_case_title "$case"):\n$(lesson_method_title "${name##*-}")" \
                "$folder/tile-$name.png")
        done
    done
}

# From the saved pictures in FOLDER, each lesson's grid and markdown table in OUT:
# lesson-grid.png, lesson-table.md, attenuation-grid.png, attenuation-table.md.
# report_lesson TOOL FOLDER OUT
report_lesson() {
    local tool=$1 folder=$2 out=$3
    TILES=()
    write_table "$out/lesson-table.md" dose_table "$tool" "$folder" || return 1
    make_grid "$out/lesson-grid.png" "$(($(echo $LESSON_METHODS | wc -w) + 1))" "${TILES[@]}" || return 1
    TILES=()
    write_table "$out/attenuation-table.md" attenuation_table "$tool" "$folder" || return 1
    make_grid "$out/attenuation-grid.png" "$(echo $ATTENUATION_CASES | wc -w)" "${TILES[@]}"
}

# What docs/lessons.md says a student should see, each statement (its label there, in
# brackets) one comparison of figures of its tables, repeated
# where it says "at every dose", so that a script can check it. A line:
#   LABEL | TABLE | ROW | FIGURE | < or > | ROW | FIGURE
# TABLE is the table's marker in docs/lessons.md ("lesson table", "attenuation table"), ROW its first
# two cells joined by " / ", FIGURE a column's header.
lesson_claims() {
    local n m mlem half="Hann, cutoff 0.5" simple="simple backprojection" methods
    mlem=$(lesson_method_title mlem)
    methods="ramp|Shepp-Logan|Hann|$half|$mlem"
    for n in $LESSON_LEVELS; do
        local IFS='|'
        for m in $methods; do
            echo "D1 | lesson table | $n / $simple | Correlation | < | $n / $m | Correlation"
            echo "D1 | lesson table | $n / $simple | Contrast recovery: hot r9 | < | $n / $m | Contrast recovery: hot r9"
            echo "D2 | lesson table | $n / $simple | Noise (%) | < | $n / $m | Noise (%)"
        done
        unset IFS
        echo "D7 | lesson table | $n / ramp | Noise (%) | > | $n / Shepp-Logan | Noise (%)"
        echo "D7 | lesson table | $n / Shepp-Logan | Noise (%) | > | $n / Hann | Noise (%)"
        echo "D7 | lesson table | $n / Hann | Noise (%) | > | $n / $half | Noise (%)"
        for m in "ramp" "Shepp-Logan" "Hann" "$half" "$simple" "$mlem"; do
            echo "D10 | lesson table | $n / $m | cold r8 | < | - | 0.5"
        done
    done
    for n in 100 1000; do
        echo "D8 | lesson table | $n / ramp | Correlation | < | $n / Shepp-Logan | Correlation"
        echo "D8 | lesson table | $n / Shepp-Logan | Correlation | < | $n / Hann | Correlation"
        echo "D8 | lesson table | $n / Hann | Correlation | < | $n / $half | Correlation"
    done
    cat <<CLAIMS
D1 | lesson table | 10000 / $simple | Correlation | < | 100 / $simple | Correlation | 1.05
D1 | lesson table | 10000 / $simple | Correlation | > | 100 / $simple | Correlation | 0.95
D3 | lesson table | 100 / ramp | Correlation | > | 100 / $simple | Correlation
D3 | lesson table | 100 / ramp | Correlation | < | 100 / $simple | Correlation | 1.5
D4 | lesson table | 100 / ramp | RMS error | < | 100 / $simple | RMS error | 0.6
D5 | lesson table | 100 / ramp | Correlation | < | 1000 / ramp | Correlation
D5 | lesson table | 1000 / ramp | Correlation | < | 10000 / ramp | Correlation
D6 | lesson table | 10000 / Shepp-Logan | Correlation | > | 10000 / ramp | Correlation
D6 | lesson table | 10000 / Hann | Correlation | > | 10000 / ramp | Correlation
D6 | lesson table | 10000 / $half | Correlation | > | 10000 / ramp | Correlation
D6 | lesson table | 10000 / ramp | cold r8 | > | 10000 / Hann | cold r8
D6 | lesson table | 10000 / ramp | cold r8 | > | 10000 / $half | cold r8
D9 | lesson table | 10000 / $half | Correlation | < | 10000 / Hann | Correlation
D9 | lesson table | 10000 / $half | hot r4 | < | 10000 / Hann | hot r4
D9 | lesson table | 10000 / $half | Contrast recovery: hot r9 | > | 10000 / Hann | Contrast recovery: hot r9
CLAIMS

    for n in $LESSON_LEVELS; do
        echo "M1 | lesson table | $n / $mlem | Correlation | > | $n / ramp | Correlation"
        echo "M2 | lesson table | $n / $mlem | RMS error | < | $n / ramp | RMS error"
        echo "M5 | lesson table | $n / $mlem | cold r8 | < | $n / $half | cold r8"
    done
    cat <<CLAIMS
M3 | lesson table | 100 / $mlem | Contrast recovery: hot r9 | > | 100 / $half | Contrast recovery: hot r9
M3 | lesson table | 100 / $mlem | hot r6 | > | 100 / $half | hot r6
M3 | lesson table | 100 / $mlem | hot r4 | > | 100 / $half | hot r4
M4 | lesson table | 100 / $mlem | Noise (%) | > | 100 / ramp | Noise (%)
A1 | attenuation table | attenuated, uncorrected / ramp | Uniformity | < | no attenuation / ramp | Uniformity
A1 | attenuation table | attenuated, uncorrected / $half | Uniformity | < | no attenuation / $half | Uniformity
A2 | attenuation table | attenuated, uncorrected / ramp | Correlation | < | no attenuation / ramp | Correlation
A2 | attenuation table | attenuated, uncorrected / $half | Correlation | < | no attenuation / $half | Correlation
A3 | attenuation table | attenuated, uncorrected / $mlem | Correlation | < | no attenuation / $mlem | Correlation
A4 | attenuation table | attenuated, corrected / ramp | Uniformity | > | attenuated, uncorrected / ramp | Uniformity
A4 | attenuation table | attenuated, corrected / $half | Uniformity | > | attenuated, uncorrected / $half | Uniformity
A5 | attenuation table | attenuated, corrected / $half | Noise (%) | > | no attenuation / $half | Noise (%)
A6 | attenuation table | attenuated, corrected / ramp | RMS error | > | attenuated, uncorrected / ramp | RMS error
A7 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | Uniformity | < | attenuated, corrected / $half | Uniformity
A8 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | Contrast recovery: hot r9 | > | attenuated, corrected / $half | Contrast recovery: hot r9
A8 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | hot r6 | > | attenuated, corrected / $half | hot r6
A8 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | hot r4 | > | attenuated, corrected / $half | hot r4
A9 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | Noise (%) | > | attenuated, corrected / $half | Noise (%)
A10 | attenuation table | attenuated, corrected / MLEM, attenuation in its model | Correlation | > | attenuated, corrected / ramp | Correlation
CLAIMS
}

# Checks every statement of docs/lessons.md's "What a student should see" against the tables
# the tour has just measured: check_lesson_claims LESSON_TABLE ATTENUATION_TABLE
# Each line of lesson_claims is LABEL | TABLE | ROW | FIGURE | < or > | ROW | FIGURE [| FACTOR]:
# the left figure against the right one times FACTOR (a ROW of "-" makes the right FIGURE
# a number). A figure shown as "-" proves nothing, so it fails too, and so does a bound
# on the wrong side.
check_lesson_claims() {
    lesson_claims | awk -F'|' -v lesson="$1" -v attenuation="$2" '
        function trim(s) { gsub(/^ +| +$/, "", s); return s }
        function load(file, name,    line, n, f, i, header) {
            while ((getline line < file) > 0) {
                n = split(line, f, "|")
                if (n < 4 || f[2] ~ /^-+:?$|^ *-+:? *$/) continue
                if (!(name in headers)) { headers[name] = 1; for (i = 2; i < n; i++) header[i] = trim(f[i]); continue }
                for (i = 4; i < n; i++) value[name "|" trim(f[2]) " / " trim(f[3]) "|" header[i]] = trim(f[i])
            }
            close(file)
        }
        function figure(table, row, column,    key) {
            if (trim(row) == "-") return trim(column)
            key = trim(table) "|" trim(row) "|" trim(column)
            return key in value ? value[key] : "missing"
        }
        BEGIN { load(lesson, "lesson table"); load(attenuation, "attenuation table") }
        {
            left = figure($2, $3, $4); right = figure($2, $6, $7)
            factor = 1; scaled = ""
            if (NF >= 8) { factor = trim($8) + 0; scaled = trim($8) " x " }
            # A bound proves a statement only on its own side: "<=" that a figure is below.
            if (left ~ /^<=/ && trim($5) == "<" || left ~ /^>=/ && trim($5) == ">") left = substr(left, 3)
            if (right ~ /^>=/ && trim($5) == "<" || right ~ /^<=/ && trim($5) == ">") right = substr(right, 3)
            numbers = (left ~ /^-?[0-9.]+$/) && (right ~ /^-?[0-9.]+$/)
            if (trim($5) == "<") ok = (numbers && ((left + 0) < ((right + 0) * factor)))
            else ok = (numbers && ((left + 0) > ((right + 0) * factor)))
            if (!ok) {
                printf("the statement [%s] no longer holds: %s %s = %s is not %s %s%s %s = %s\n", trim($1), trim($3),
                       trim($4), left, trim($5), scaled, trim($6), trim($7), right)
                failed++
            }
            checked++
        }
        END { printf "%d comparisons checked, %d failed\n", checked, failed; exit failed > 0 }'
}
