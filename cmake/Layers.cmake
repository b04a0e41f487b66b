# The layering of the libraries, checked each time the build is configured: a library that links one
# it must not, directly or through the libraries it links, stops the configuration. The folders'
# includes and the record offsets are checked by the test layer_sources (tests/layers).

# Every target that `target` links, directly or through the targets it links, into `out`.
function(ingressario_linked_targets target out)
    set(seen "")
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property(items ${current} ${property})
            if(NOT items)
                continue()
            endif()
            foreach(item IN LISTS items)
                # A name may stand inside a generator expression ($<LINK_ONLY:Qt6::Gui>): every
                # word of the item that names a target counts.
                string(REGEX MATCHALL "[A-Za-z0-9_.+-]+(::[A-Za-z0-9_.+-]+)?" names "${item}")
                foreach(name IN LISTS names)
                    if(TARGET ${name} AND NOT name IN_LIST seen)
                        list(APPEND seen ${name})
                        list(APPEND queue ${name})
                    endif()
                endforeach()
            endforeach()
        endforeach()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# ingressario_forbid_links(<target> <targets it must not link...>)
function(ingressario_forbid_links target)
    ingressario_linked_targets(${target} linked)
    foreach(forbidden IN LISTS ARGN)
        if(forbidden IN_LIST linked)
            message(FATAL_ERROR "Layering: ${target} links ${forbidden}, directly or through another library. "
                                "It links: ${linked}")
        endif()
    endforeach()
endfunction()

set(INGRESSARIO_GUI_MODULES Qt6::Gui Qt::Gui Qt6::Widgets Qt::Widgets Qt6::PrintSupport Qt6::Svg)
set(INGRESSARIO_WORK_AREAS ingressario_registry ingressario_operations ingressario_history)

# The archives and the logic: QtCore only.
ingressario_forbid_links(ingressario_archives ${INGRESSARIO_GUI_MODULES} ingressario_printing ingressario_logic)
ingressario_forbid_links(ingressario_logic ${INGRESSARIO_GUI_MODULES} ingressario_printing ingressario_shell)
# The data folder and the daily backup are decided before any window exists: QtCore only.
ingressario_forbid_links(ingressario_datafolder ${INGRESSARIO_GUI_MODULES} ingressario_printing ingressario_shell)
# The printed documents stand alone, beside the archives (Qt's print support brings the widgets of
# the print dialog with it, so the link cannot keep the documents free of them).
ingressario_forbid_links(ingressario_printing ingressario_archives ingressario_logic ingressario_shell)
# The shell knows no work area, nor the lists and grids that serve them.
ingressario_forbid_links(ingressario_shell ${INGRESSARIO_WORK_AREAS} ingressario_lists ingressario_grids
    ingressario_windowset)
# The lists and the grids serve the work areas and know none of them.
ingressario_forbid_links(ingressario_lists ${INGRESSARIO_WORK_AREAS} ingressario_grids ingressario_windowset)
ingressario_forbid_links(ingressario_grids ${INGRESSARIO_WORK_AREAS} ingressario_lists ingressario_windowset)
# A work area knows no other.
ingressario_forbid_links(ingressario_registry ingressario_operations ingressario_history ingressario_windowset)
ingressario_forbid_links(ingressario_operations ingressario_registry ingressario_history ingressario_windowset)
ingressario_forbid_links(ingressario_history ingressario_registry ingressario_operations ingressario_windowset)
