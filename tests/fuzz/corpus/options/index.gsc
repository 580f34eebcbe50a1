# The languages syntax colouring knows, in menu order.  Each tree names one
# language: the suffixes of its files (without the dot), the definition
# file describing it, and optionally regular expressions tried against the
# first non-blank line of a file whose suffix does not decide.
#
# To change or add a language, copy this file to ~/.qen/syntax_coloring/
# and edit the copy; definition files found in ~/.qen/syntax_coloring/
# take the place of the shipped ones of the same name.  See README.

C {
  description = "C"
  extension = { "c", "h", "i" }
  definition_file = "c.gsl"
}

"C++" {
  description = "C++"
  extension = { "cc", "cpp", "cxx", "c++", "C", "hh", "hpp", "hxx", "h++", "H",
                "ipp", "tpp", "inl", "h" }
  definition_file = "cpp.gsl"
  first_line_pattern = "^\\s*(namespace|template\\s*<|class\\s+\\w+\\s*[:{]|using\\s+namespace)"
}

Java {
  description = "Java"
  extension = "java"
  definition_file = "java.gsl"
}

"C#" {
  description = "C#"
  extension = { "cs", "csx" }
  definition_file = "csharp.gsl"
}

Go {
  description = "Go"
  extension = "go"
  definition_file = "go.gsl"
}

Rust {
  description = "Rust"
  extension = "rs"
  definition_file = "rust.gsl"
}

Ada {
  description = "Ada"
  extension = { "ada", "adb", "ads" }
  definition_file = "ada.gsl"
}

Pascal {
  description = "Pascal"
  extension = { "pas", "pp", "p", "dpr", "lpr", "inc" }
  definition_file = "pascal.gsl"
}

Fortran {
  description = "Fortran"
  extension = { "f", "for", "ftn", "fpp", "F", "FOR", "f77", "f90", "f95", "f03",
                "f08", "F90", "F95" }
  definition_file = "fortran.gsl"
}

Perl {
  description = "Perl"
  extension = { "pl", "pm", "t", "pod", "PL" }
  definition_file = "perl.gsl"
  first_line_pattern = "^#!.*\\bperl[0-9.]*\\b"
  submenu = "Scripting"
}

bash {
  description = "Shell (sh, bash)"
  extension = { "sh", "bash", "ksh", "zsh", "bashrc", "profile" }
  definition_file = "shell.gsl"
  first_line_pattern = "^#!\\s*\\S*/(env\\s+)?(ba|k|z|da|a)?sh\\b"
  submenu = "Scripting"
}

Python {
  description = "Python"
  extension = { "py", "pyw", "pyi" }
  definition_file = "python.gsl"
  first_line_pattern = "^#!.*\\bpython[0-9.]*\\b"
  submenu = "Scripting"
}

Ruby {
  description = "Ruby"
  extension = { "rb", "rake", "gemspec", "ru" }
  definition_file = "ruby.gsl"
  first_line_pattern = "^#!.*\\bruby[0-9.]*\\b"
  submenu = "Scripting"
}

Lua {
  description = "Lua"
  extension = "lua"
  definition_file = "lua.gsl"
  first_line_pattern = "^#!.*\\blua[0-9.]*\\b"
  submenu = "Scripting"
}

Tcl {
  description = "Tcl"
  extension = { "tcl", "tk", "itcl" }
  definition_file = "tcl.gsl"
  first_line_pattern = "^#!.*\\b(tclsh|wish)[0-9.]*\\b"
  submenu = "Scripting"
}

JavaScript {
  description = "JavaScript"
  extension = { "js", "mjs", "cjs", "jsx" }
  definition_file = "javascript.gsl"
  first_line_pattern = "^#!.*\\b(node|nodejs|deno)\\b"
  submenu = "Scripting"
}

TypeScript {
  description = "TypeScript"
  extension = { "ts", "tsx", "mts", "cts" }
  definition_file = "typescript.gsl"
  submenu = "Scripting"
}

makefile {
  description = "Makefile"
  extension = { "mk", "mak", "make" }
  definition_file = "makefile.gsl"
  first_line_pattern = "^#!.*\\bmake\\b"
  submenu = "Build"
}

CMake {
  description = "CMake"
  extension = "cmake"
  definition_file = "cmake.gsl"
  first_line_pattern = "(?i)^\\s*(cmake_minimum_required|cmake_policy)\\s*\\("
  submenu = "Build"
}

SQL {
  description = "SQL"
  extension = { "sql", "ddl", "psql" }
  definition_file = "sql.gsl"
  submenu = "Data"
}

HTML {
  description = "HTML"
  extension = { "html", "htm", "xhtml", "shtml" }
  definition_file = "html.gsl"
  first_line_pattern = "(?i)^\\s*<(!doctype\\s+html|html)\\b"
  submenu = "Markup"
}

XML {
  description = "XML"
  extension = { "xml", "xsd", "xsl", "xslt", "svg", "rss", "atom", "plist",
                "xul", "wsdl", "pom" }
  definition_file = "xml.gsl"
  first_line_pattern = "^\\s*<\\?xml\\b"
  submenu = "Markup"
}

CSS {
  description = "CSS"
  extension = { "css", "scss", "less" }
  definition_file = "css.gsl"
  submenu = "Markup"
}

YAML {
  description = "YAML"
  extension = { "yml", "yaml" }
  definition_file = "yaml.gsl"
  first_line_pattern = "^%YAML\\b"
  submenu = "Data"
}

JSON {
  description = "JSON"
  extension = { "json", "jsonc", "geojson", "json5" }
  definition_file = "json.gsl"
  submenu = "Data"
}

Diff {
  description = "Differences (diff, patch)"
  extension = { "diff", "patch", "rej", "dif" }
  definition_file = "diff.gsl"
  first_line_pattern = { "^diff (-[a-zA-Z-]+ )*\\S", "^--- \\S", "^Index: \\S",
                         "^\\*\\*\\* \\S" }
  submenu = "Data"
}
