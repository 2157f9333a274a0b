cmake_minimum_required(VERSION 3.25)
# cmake -DIN=utf8.txt -DOUT=file.txt -DCODEPAGE=CP932 [-DBOM=ON] -P WindowsText.cmake:
# a text of the sources (UTF-8, LF) as Windows programs read a plain text
# file: in the given code page, with CR LF line ends; BOM starts it with the
# byte-order mark (for UTF-16LE: a Unicode text file).
file(READ "${IN}" content)
string(REPLACE "\r\n" "\n" content "${content}")
string(REPLACE "\n" "\r\n" content "${content}")
if(BOM)
  string(ASCII 239 187 191 mark)  # U+FEFF in UTF-8
  set(content "${mark}${content}")
endif()
file(WRITE "${OUT}.crlf" "${content}")
execute_process(COMMAND iconv -f UTF-8 -t ${CODEPAGE} "${OUT}.crlf" OUTPUT_FILE "${OUT}.tmp" RESULT_VARIABLE failed)
file(REMOVE "${OUT}.crlf")
if(failed)
  file(REMOVE "${OUT}.tmp")
  message(FATAL_ERROR "${IN} cannot be written in ${CODEPAGE}")
endif()
file(RENAME "${OUT}.tmp" "${OUT}")
