# The fuzz targets and how long an input each may grow to while it is
# mutated, for scripts/test.sh and scripts/fuzz.sh; source it. The limit
# keeps the bundled example whole (a template of 9 KB, a week of 10 KB, a
# FHIR week of 30 KB) with room to grow, and keeps the inputs quick: an input
# of the corpus that is longer is cut to it while fuzzing, but the corpus
# replays of the test builds read every input whole, the megabyte ones too.

fuzz_targets=(line_walk data_reader template_walk size_query cairo readings profile fhir fhir_map serve)

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
fuzz_leaks() {
  if [ "$1" = cairo ] || [ "$1" = serve ]; then echo 0; else echo 1; fi
}
