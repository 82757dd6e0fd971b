#!/bin/sh
# Doxygen's input filter: the toolkit's headers are commented with plain
# "//" lines in front of what they describe; those become documentation
# ("///"). A file's opening comment (before "#pragma once") describes the
# file ("//! \file"). A "// ..." after a declaration, an enumerator or a
# one-line function (a line ending in ";" or ",", or in "}" after a "(")
# describes it ("///<"); after other code it stays as it is. "// @{" and "// @}" around a run of declarations make a group whose
# first member's text is every member's.
exec sed -e '1,/^#pragma once/{
  s|^// \(.*\)$|//! \1|
  s|^//$|//!|
  0,/^\/\/! / s|^//! \(.*\)$|//! \\file\n//! \1|
}' -e '/^#pragma once/,${
  s|^\( *\)// \(.*\)$|\1/// \2|
  s|^\( *\)//$|\1///|
  s|^\([^/#]*[;,]\)\( \+\)// \(.*\)$|\1\2///< \3|
  s|^\([^/#]*([^/#]*}\)\( \+\)// \(.*\)$|\1\2///< \3|
}' "$1"
