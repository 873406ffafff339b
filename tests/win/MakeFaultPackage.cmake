# Lays out the package folder of the fault-injection tests: a Quorvex Finance
# update of COUNT small interface files (gs\ecranNNN.int, each a little over
# one memory page, and each different from the others, so that a file cut
# short is told from both its old and its new bytes) and the marker.
#   cmake -DFOLDER=... -DCOUNT=300 -P MakeFaultPackage.cmake
if(NOT FOLDER OR NOT COUNT)
  message(FATAL_ERROR "usage: cmake -DFOLDER=<folder> -DCOUNT=<n> -P MakeFaultPackage.cmake")
endif()

file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER}/gs)
file(WRITE ${FOLDER}/AppInfo1.txt "Quorvex Finance")
file(WRITE ${FOLDER}/Updates.txt "Quorvex Finance")
file(WRITE ${FOLDER}/UpdateInfo.txt
  "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\n"
  "\\pard\\sa40\\f0\\fs20 Mise \\'e0 jour des \\'e9crans.\\par\n}\n")

set(names "")
foreach(i RANGE 1 ${COUNT})
  string(LENGTH "${i}" digits)
  math(EXPR pad "3 - ${digits}")
  string(REPEAT "0" ${pad} zeros)
  set(name "ecran${zeros}${i}.int")
  string(APPEND names "gs\\${name}\r\n")
  # About 6 KB: two pages on a RAM disk, where the old file takes one.
  string(REPEAT "  F${i}Montant : Currency; { ecran ${i} }\r\n" 150 body)
  file(WRITE ${FOLDER}/gs/${name} "unit Ecran${i};\r\n\r\ninterface\r\n${body}end.\r\n")
endforeach()
file(WRITE ${FOLDER}/FileNames.txt "${names}")
file(WRITE ${FOLDER}/gs/GS-00.int "unit GS00;\r\n\r\n{ marqueur de la mise a jour }\r\n\r\nend.\r\n")
