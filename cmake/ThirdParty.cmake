# speexdsp and libjpeg-turbo, cross-built by tools/deps.sh into the cache.
set(HALVERN_CACHE "$ENV{HALVERN_CACHE}")
if(NOT HALVERN_CACHE)
    set(HALVERN_CACHE /var/cache/halvern)
endif()

function(halvern_import_dep target dirglob header lib)
    file(GLOB dirs LIST_DIRECTORIES true "${HALVERN_CACHE}/deps/${dirglob}")
    set(found "")
    foreach(d ${dirs})
        if(EXISTS "${d}/.done")
            set(found "${d}")
        endif()
    endforeach()
    if(NOT found)
        message(FATAL_ERROR "${dirglob} is not built: run tools/setup.sh")
    endif()
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION "${found}/lib/${lib}"
        INTERFACE_INCLUDE_DIRECTORIES "${found}/include")
    message(STATUS "${target}: ${found}")
endfunction()

halvern_import_dep(speexdsp "speexdsp-*" speex/speex_preprocess.h libspeexdsp.a)
halvern_import_dep(jpeg "libjpeg-turbo-*" jpeglib.h libjpeg.a)
