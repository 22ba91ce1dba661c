# Writes OUT, a C++ file with one function EmbeddedFile(name) that returns the
# contents of each of FILES by its file name ("ranking.mustache", "style.css").
set(body "// Generated from site/templates and site/static: edit those files.\n#include <string>\n\nconst std::string* EmbeddedFile(const std::string& name) {\n")
foreach(file ${FILES})
  get_filename_component(name ${file} NAME)
  file(READ ${file} text)
  string(APPEND body "  if (name == \"${name}\") {\n    static const std::string text = R\"embedded(${text})embedded\";\n    return &text;\n  }\n")
endforeach()
string(APPEND body "  return nullptr;\n}\n")
file(WRITE ${OUT} "${body}")
