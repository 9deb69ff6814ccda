# Makes the seed corpus of every fuzz target below OUTPUT_DIR, fresh each
# time: the hand-made seeds of fuzz/seeds, and seeds taken from the test
# fixtures (the containers as they are, their XML members, their texts, and a
# drive file list and a document list that name them).
#   cmake -DSOURCE_DIR=<repository> -DOUTPUT_DIR=<folder> -P make_seeds.cmake

# Seeds above this size are left out; scripts/fuzz bounds the inputs alike.
set(largest_seed 65536)
set(targets xml_scanner archive utf8_decoder drive_file_list document_list colour_text
            search_history site_file)
set(fixtures ${SOURCE_DIR}/tests/fixtures)

file(REMOVE_RECURSE ${OUTPUT_DIR})
foreach(target ${targets})
  file(MAKE_DIRECTORY ${OUTPUT_DIR}/${target})
  file(GLOB hand_made ${SOURCE_DIR}/fuzz/seeds/${target}/*)
  if(hand_made)
    file(COPY ${hand_made} DESTINATION ${OUTPUT_DIR}/${target})
  endif()
endforeach()

function(add_seed target source name)
  file(SIZE ${source} size)
  if(size GREATER 0 AND size LESS_EQUAL ${largest_seed})
    file(COPY_FILE ${source} ${OUTPUT_DIR}/${target}/${name})
  endif()
endfunction()

# Containers, and their XML members for the scanner and the decoder.
file(GLOB_RECURSE containers LIST_DIRECTORIES false
     ${fixtures}/*.odt ${fixtures}/*.docx ${fixtures}/*.docm ${fixtures}/*.epub)
set(unpacked ${OUTPUT_DIR}/.unpacked)
foreach(container ${containers})
  file(RELATIVE_PATH relative ${fixtures} ${container})
  string(MAKE_C_IDENTIFIER ${relative} id)
  add_seed(archive ${container} ${id})
  file(ARCHIVE_EXTRACT INPUT ${container} DESTINATION ${unpacked}/${id})
  file(GLOB_RECURSE members LIST_DIRECTORIES false RELATIVE ${unpacked}/${id}
       ${unpacked}/${id}/*.xml ${unpacked}/${id}/*.xhtml ${unpacked}/${id}/*.htm
       ${unpacked}/${id}/*.html)
  foreach(member ${members})
    string(MAKE_C_IDENTIFIER ${member} member_id)
    add_seed(xml_scanner ${unpacked}/${id}/${member} ${id}_${member_id})
    add_seed(utf8_decoder ${unpacked}/${id}/${member} ${id}_${member_id})
  endforeach()
endforeach()
file(REMOVE_RECURSE ${unpacked})

# Plain texts of the fixtures for the decoder.
file(GLOB_RECURSE texts LIST_DIRECTORIES false ${fixtures}/*.md ${fixtures}/*.txt)
foreach(text ${texts})
  file(RELATIVE_PATH relative ${fixtures} ${text})
  string(MAKE_C_IDENTIFIER ${relative} id)
  add_seed(utf8_decoder ${text} ${id})
endforeach()

# The fixture files as a drive lists them (a full line for the first file of
# each folder, ditto lines for the rest), and as the document list of a
# database over them. The drive list's first byte "0" chooses the folder Z:\
# and the four container extensions in the harness.
file(GLOB_RECURSE fixture_files LIST_DIRECTORIES false RELATIVE ${fixtures} ${fixtures}/*)
list(SORT fixture_files CASE INSENSITIVE)
set(drive_list "0")
set(document_list "PFAD_UND_ENDUNGEN= Z:\\fixtures *.odt *.docx *.docm *.epub \r\n")
set(previous_folder "")
foreach(file ${fixture_files})
  get_filename_component(folder ${file} DIRECTORY)
  get_filename_component(name ${file} NAME)
  string(REPLACE "/" "\\" windows_file "Z:\\fixtures\\${file}")
  if(folder STREQUAL previous_folder)
    string(APPEND drive_list "\" ${name}\r\n")
  else()
    string(APPEND drive_list "${windows_file}\r\n")
  endif()
  set(previous_folder ${folder})
  if(name MATCHES "\\.(odt|docx|docm|epub)$")
    string(APPEND document_list "${windows_file}\r\n")
  endif()
endforeach()
file(WRITE ${OUTPUT_DIR}/drive_file_list/fixtures.txt "${drive_list}")
file(WRITE ${OUTPUT_DIR}/document_list/fixtures.dat "${document_list}")
