# Run as a script after JUCE's helper has written the LV2 bundle's data (cmake -P, with
# -DBUNDLE=<the bundle's folder>): rewrites the parts of dsp.ttl and ui.ttl that the LV2
# vocabulary does not allow, so that lv2_validate finds no error. Hosts see the same plug-in
# URI, ports and parameters:
#
# - lv2:portProperty belongs to ports only. A switch says it is one by its range instead
#   (atom:Bool: hosts show a toggle and send true or false); a choice or a semitone step
#   keeps its scale points, which label each step, and drops the enumeration claim.
# - doap:maintainer and doap:release belong to a doap:Project: the plug-in is declared one.
#   Its maintainer has no homepage or mail box, which JUCE writes as empty links.
# - The editor's description lists ui:noUserResize (a feature) as extension data and
#   opts:interface (extension data) as a feature.
#
# The rewrite matches JUCE 7.0.5's output exactly and stops the build when that output
# changed, rather than leave data behind that it did not correct.

if (NOT BUNDLE OR NOT IS_DIRECTORY "${BUNDLE}")
    message (FATAL_ERROR "QuenbyLv2Data.cmake: BUNDLE must name the LV2 bundle's folder")
endif()

# Replaces the one expected occurrence of a text, or stops when it is not there.
function (quenby_replace_expected variable from to file)
    string (FIND "${${variable}}" "${from}" position)

    if (position EQUAL -1)
        message (FATAL_ERROR "QuenbyLv2Data.cmake: ${file} no longer holds the text it corrects:\n${from}")
    endif()

    string (REPLACE "${from}" "${to}" result "${${variable}}")
    set (${variable} "${result}" PARENT_SCOPE)
endfunction()

set (dspFile "${BUNDLE}/dsp.ttl")
file (READ "${dspFile}" dsp)

# Parameters are written one property a line, indented by one tab; ports by two tabs.
set (line "[^\n]*\n")
string (REGEX REPLACE
    "\trdfs:range atom:Float ;\n(\tlv2:default ${line}\tlv2:minimum ${line}\tlv2:maximum ${line})\tlv2:portProperty lv2:enumeration , lv2:toggled ;\n"
    "\trdfs:range atom:Bool ;\n\\1" dsp "${dsp}")
string (REPLACE "\n\tlv2:portProperty lv2:enumeration ;\n" "\n" dsp "${dsp}")

if (dsp MATCHES "\n\tlv2:portProperty")
    message (FATAL_ERROR "QuenbyLv2Data.cmake: a parameter in ${dspFile} still carries lv2:portProperty")
endif()

quenby_replace_expected (dsp "\ta lv2:InstrumentPlugin ;\n" "\ta lv2:InstrumentPlugin , doap:Project ;\n" "${dspFile}")
quenby_replace_expected (dsp "\t\tfoaf:homepage <> ;\n" "" "${dspFile}")
quenby_replace_expected (dsp "\t\tfoaf:mbox <> ;\n" "" "${dspFile}")
file (WRITE "${dspFile}" "${dsp}")

set (uiFile "${BUNDLE}/ui.ttl")
file (READ "${uiFile}" ui)
quenby_replace_expected (ui "\t\topts:interface ,\n\t\tui:noUserResize ,\n\t\tui:resize ;\n" "\t\topts:interface ,\n\t\tui:resize ;\n" "${uiFile}")
quenby_replace_expected (ui ",\n\t\topts:interface ,\n\t\topts:options ;\n" ",\n\t\topts:options ;\n" "${uiFile}")
file (WRITE "${uiFile}" "${ui}")
