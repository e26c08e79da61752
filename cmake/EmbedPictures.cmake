# orvik_embed_pictures(<target> <folder>)
# Compiles every PNG of <folder> into <target>: each becomes a picture resource
# named after its file (base name in capitals: pictures/chk_on.png is
# "CHK_ON"), registered when the library loads (platform/ui/picture.h).
# Run as a script (cmake -P) it writes the source: -DOUT=<file> -DPNGS=<a|b|...>.
if(CMAKE_SCRIPT_MODE_FILE)
  string(REPLACE "|" ";" pngs "${PNGS}")
  set(src "// Generated from PNG files; do not edit.\n#include \"platform/ui/picture.h\"\n\nnamespace {\n")
  set(i 0)
  foreach(png ${pngs})
    get_filename_component(base ${png} NAME_WE)
    string(TOUPPER ${base} name)
    file(READ ${png} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND src "const unsigned char kPicture${i}[] = {${bytes}};\n")
    string(APPEND src "const plat::ui::PictureResourceRegistrar kRegistrar${i}(\"${name}\", kPicture${i}, sizeof kPicture${i});\n")
    math(EXPR i "${i} + 1")
  endforeach()
  string(APPEND src "}  // namespace\n")
  file(WRITE ${OUT} "${src}")
  return()
endif()

set(ORVIK_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
function(orvik_embed_pictures target folder)
  file(GLOB pngs CONFIGURE_DEPENDS ${folder}/*.png)
  list(SORT pngs)
  string(REPLACE ";" "|" joined "${pngs}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_pictures.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DPNGS=${joined} -P ${ORVIK_EMBED_SCRIPT}
    DEPENDS ${pngs} ${ORVIK_EMBED_SCRIPT}
    COMMENT "Embedding the pictures of ${target}" VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
