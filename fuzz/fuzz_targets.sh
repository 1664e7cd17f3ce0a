# The fuzz targets and how long an input each may grow to while it is
# mutated, for scripts/test.sh and scripts/fuzz.sh; source it. The limit
# keeps the bundled example whole (a template of 9 KB, a week of 10 KB, a
# FHIR week of 30 KB) with room to grow, and keeps the inputs quick: an input
# of the corpus that is longer is cut to it while fuzzing, but the corpus
# replays of the test builds read every input whole, the megabyte ones too.

fuzz_targets=(line_walk data_reader template_walk size_query cairo readings profile fhir fhir_map serve)

# Options of every run. A few inputs draw until the drawing budget stops
# them (huge repeat counts and markers) and take tens of times as long as
# the rest; scaling each input's share of mutations by how quickly it runs
# keeps the run on the quick ones, at the same coverage: in one minute,
# fuzz_template_walk went from about 1,050 to 5,100 inputs a second and
# fuzz_cairo from about 500 to 3,300.
fuzz_flags=(-entropic_scale_per_exec_time=1)

# fuzz_max_len TARGET: the longest mutated input, in bytes.
fuzz_max_len() {
  case $1 in
    line_walk | data_reader | size_query) echo 12288 ;;
    template_walk | cairo) echo 20480 ;;
    readings) echo 16384 ;;
    fhir) echo 32768 ;;
    *) echo 4096 ;;
  esac
}

# fuzz_leaks TARGET: 1 when the run checks leaks. The text library's
# matching thread loses patterns that the cheap unwinder cannot name, so the
# Cairo target is checked for leaks by the sanitizer build's corpus replay.
# Pass it to both the sanitizer (ASAN_OPTIONS=detect_leaks) and libFuzzer
# (-detect_leaks): libFuzzer otherwise runs again every input after which
# more blocks are held than before (the font caches growing), to look for a
# leak the sanitizer will not report.
fuzz_leaks() {
  if [ "$1" = cairo ] || [ "$1" = serve ]; then echo 0; else echo 1; fi
}
