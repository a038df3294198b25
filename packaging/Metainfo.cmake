# The AppStream data, made from metainfo/<id>.metainfo.xml.in: the project's
# web page and the screenshot on it are named only when there is a page
# (VANTOREL_HOMEPAGE), never a made-up address. Included by CMakeLists.txt,
# and run by the packaging check with a page set:
#   cmake -DSOURCE=<in> -DOUTPUT=<out> -DVANTOREL_HOMEPAGE=<address> -P Metainfo.cmake
function(vantorel_metainfo source output homepage)
    set(VANTOREL_HOMEPAGE_ELEMENTS "")
    if(homepage)
        string(REPLACE "&" "&amp;" address "${homepage}")
        set(folder "${address}")
        if(NOT folder MATCHES "/$")
            string(APPEND folder "/")
        endif()
        string(CONCAT VANTOREL_HOMEPAGE_ELEMENTS
               "  <url type=\"homepage\">${address}</url>\n"
               "  <screenshots>\n"
               "    <screenshot type=\"default\">\n"
               "      <caption>The main window after a series of ten shots</caption>\n"
               "      <image>${folder}screenshot.png</image>\n"
               "    </screenshot>\n"
               "  </screenshots>\n")
    endif()
    configure_file(${source} ${output} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    vantorel_metainfo(${SOURCE} ${OUTPUT} "${VANTOREL_HOMEPAGE}")
endif()
