# The tour's lessons: `quorvel_data lesson` makes the volumes, rebuilds them by the program's
# own reconstruction and by MLEM, measures every picture, and writes the page, the grids,
# the tables and each statement's check (teaching/lesson_statements.cpp holds them).
# Sourced by ./run, not run.

# The default lesson, on the head phantom, into FOLDER: make_lesson TOOL FOLDER
make_lesson() { "$1" lesson "$2" --phantom head; }

# Prints each statement that FOLDER's lesson found failing; fails when there is one:
# failed_statements FOLDER
failed_statements() {
    [ -f "$1/statements.csv" ] || { echo "no $1/statements.csv" >&2; return 1; }
    ! grep ',fails,' "$1/statements.csv"
}
