# Fails when a translation file is not complete: an unfinished, obsolete or vanished entry in the
# committed file, or one that lupdate, run over today's sources into a copy, would add or retire.
# -DLUPDATE=... -DTS=<the .ts file> -DSOURCE_DIR=... -DFOLDERS=<;-list> -DOPTIONS=<;-list> -DWORK=<folder>
function(check_complete file what)
    file(READ ${file} text)
    foreach(state unfinished obsolete vanished)
        string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"${state}\"" found "${text}")
        if(found)
            list(JOIN found "\n" lines)
            message(SEND_ERROR "${what}: ${state} entries:\n${lines}")
        endif()
    endforeach()
endfunction()

check_complete(${TS} "${TS}")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${TS} NAME)
file(COPY ${TS} DESTINATION ${WORK})
execute_process(COMMAND ${LUPDATE} ${OPTIONS} ${FOLDERS} -ts ${WORK}/${name}
    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
check_complete(${WORK}/${name} "the sources against ${name} (refresh it with the update_translations target)")
