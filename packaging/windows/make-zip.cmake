# Run at build time (cmake -P, in the folder STAGE) by the target windows-zip: lays out FOLDER
# under STAGE as a Windows user gets it and packs it into ZIP; the installer takes its files from
# there too. Variables: PROGRAM (habuki.exe), WINDOW (habuki-gui.exe),
# STRIP (the toolchain's strip), VERSION, RELEASE_DATE (the date the files carry in the zip,
# rather than the time of the build), SOURCE_DIR (packaging/windows), LICENSE, FOLDER, STAGE,
# ZIP.
#
# The texts are written as Windows' Notepad reads them best: CR LF line ends, and the READMEs
# in UTF-8 with a byte order mark, without which older Notepads take them for CP932. The zip
# stores the file names in UTF-8 and marks them so (libarchive sets the language encoding flag
# for any name outside ASCII), which Windows' own "Extract all" honours.

# "\r\n" for every line end, and a line end after the last line.
function(habuki_crlf_lines text out)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(APPEND text "\n")
  string(REPLACE "\n" "\r\n" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(dir ${STAGE}/${FOLDER})
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir})
# Without the debugging information, which a user has no use for and which is most of the
# program's size.
set(programs habuki.exe habuki-gui.exe)
execute_process(COMMAND ${STRIP} -o ${dir}/habuki.exe ${PROGRAM} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${STRIP} -o ${dir}/habuki-gui.exe ${WINDOW} COMMAND_ERROR_IS_FATAL ANY)

string(ASCII 239 187 191 utf8_bom)
foreach(language en ja)
  file(READ ${SOURCE_DIR}/README-${language}.txt.in text)
  string(CONFIGURE "${text}" text @ONLY)
  habuki_crlf_lines("${text}" text)
  file(WRITE ${dir}/README-${language}.txt "${utf8_bom}${text}")
endforeach()

file(READ ${LICENSE} text)
habuki_crlf_lines("${text}" text)
file(WRITE ${dir}/LICENSE.txt "${text}")

# The sample comment files hold the built-in sentences (comment/comment_files.h), one line in
# CP932 as a Windows editor saves it: beside habuki.exe they are found when %APPDATA%\habuki
# has none, and editing them changes the comment. They are made here from these UTF-8 texts so
# that the sentences stay readable in the sources; iconv comes with the C library.
set(ja_name 日本語ｺﾒﾝﾄ.txt)
set(ja_text "パラメータ値０のパラメータは省いてあります。")
set(en_name 英語ｺﾒﾝﾄ.txt)
set(en_text "Parameters of the parameter value 0 have been omitted.")
foreach(language ja en)
  file(WRITE ${STAGE}/comment-${language}.utf8 "${${language}_text}\r\n")
  execute_process(COMMAND iconv -f UTF-8 -t CP932 INPUT_FILE ${STAGE}/comment-${language}.utf8
                  OUTPUT_FILE ${dir}/${${language}_name} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Packed under a temporary name and renamed, so that a failure leaves the last zip as it was.
# The names in the zip are relative to STAGE, the folder this script runs in.
set(entries ${programs} README-en.txt README-ja.txt LICENSE.txt ${ja_name} ${en_name})
list(TRANSFORM entries PREPEND ${FOLDER}/)
file(REMOVE ${ZIP}.tmp)
file(ARCHIVE_CREATE OUTPUT ${ZIP}.tmp PATHS ${entries} FORMAT zip MTIME ${RELEASE_DATE})
file(RENAME ${ZIP}.tmp ${ZIP})
