# Writes the web page's files into a C++ source as byte arrays, with the
# table FindWebAsset searches (see web_assets.h).
#   -DOUTPUT=web_assets_data.cpp -DPAGE=tools/serve/page
# Each: the path it is served at, its file, its media type (all are UTF-8 text).
set(assets
  "/|index.html|text/html"
  "/app.js|app.js|text/javascript"
  "/style.css|style.css|text/css")
set(arrays "")
set(table "")
set(index 0)
foreach(asset IN LISTS assets)
  string(REPLACE "|" ";" fields "${asset}")
  list(GET fields 0 path)
  list(GET fields 1 file)
  list(GET fields 2 type)
  file(READ ${PAGE}/${file} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND arrays "const char kAsset${index}[] = {${bytes} 0};\n")
  string(APPEND table "        {\"${path}\", \"${type}; charset=utf-8\", {kAsset${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new "// Generated from tools/serve/page by embed_web_assets.cmake.
#include \"tools/serve/web_assets.h\"

namespace vitalchart {
namespace cli {

namespace {

${arrays}
const WebAsset kAssets[] = {
${table}};

}  // namespace

const WebAsset* FindWebAsset(std::string_view path) {
    for (const WebAsset& asset : kAssets) {
        if (asset.path == path) return &asset;
    }
    return nullptr;
}

}  // namespace cli
}  // namespace vitalchart
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
