# Fails when a translation file is not complete: an entry still unfinished, obsolete or
# vanished in the committed file, or a source text that lupdate finds in the sources but the
# file lacks (new) or holds but the sources no longer have (vanished).
#   cmake -DLUPDATE=... -DTS=<file> -DWORK=<folder> -DSOURCES="dir;dir" -DINCLUDE=<dir> -P this
set(markers "type=\"unfinished\"|type=\"obsolete\"|type=\"vanished\"")

function(check_complete file what)
    file(STRINGS ${file} lines REGEX "${markers}")
    if(lines)
        # The source line before each marked translation names the text.
        file(READ ${file} text)
        string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation (${markers})" hits "${text}")
        list(JOIN hits "\n" listed)
        message(FATAL_ERROR "${what}:\n${listed}")
    endif()
endfunction()

check_complete(${TS} "${TS} has entries to finish or remove")

file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
set(copy ${WORK}/${name})
file(COPY_FILE ${TS} ${copy})
execute_process(COMMAND ${LUPDATE} -I ${INCLUDE} ${SOURCES} -ts ${copy} -locations none
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
check_complete(${copy} "The sources' texts differ from ${TS} (run the update_translations target and translate)")
