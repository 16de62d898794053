#!/usr/bin/env bash
# Builds the fuzz targets of the vCard reader and of the kestrel answer reader with clang's
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer. Not part of the normal build.
# Then, for example:
#   build-fuzz/vcard_fuzzer -dict=tools/fuzz/vcard.dict -max_total_time=300 \
#       build-fuzz/corpus tests/data/vcard
#   build-fuzz/kestrel_answer_fuzzer -dict=tools/fuzz/kestrel.dict -max_total_time=600 \
#       build-fuzz/kestrel-corpus tests/data/kestrel
set -euo pipefail
cd "$(dirname "$0")/../.."

out=build-fuzz
mkdir -p "$out/corpus" "$out/kestrel-corpus"
sources=(
  src/platform/contactstore/vcard/Card.cpp
  src/platform/contactstore/vcard/CardBuilder.cpp
  src/platform/contactstore/vcard/CardLabels.cpp
  src/platform/contactstore/vcard/CardReader.cpp
  src/platform/contactstore/vcard/CardWriter.cpp
  src/platform/contactstore/vcard/ContentLine.cpp
  src/platform/contactstore/vcard/ValueCodec.cpp
)
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc "${sources[@]}" tools/fuzz/vcard_fuzzer.cpp \
  $(pkg-config --cflags --libs icu-uc) -o "$out/vcard_fuzzer"
echo "built $out/vcard_fuzzer"

clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc src/ads/kestrel/KADAdData.cpp src/ads/URLText.cpp tools/fuzz/kestrel_answer_fuzzer.cpp \
  -o "$out/kestrel_answer_fuzzer"
echo "built $out/kestrel_answer_fuzzer"
