# The built-in tables of the points formulas are data files (data/builtin, derived from the published
# tables by scripts/derive-point-tables.py); the build embeds their text in a generated header.
set(pointTablesHeader "// Generated from data/builtin by model/D_PointBeregningTables.cmake.\n#pragma once\n\n")
string(APPEND pointTablesHeader
    "struct EmbeddedPointTable {\n    const char* name;\n    const char* text;\n};\n\n")
string(APPEND pointTablesHeader "inline constexpr EmbeddedPointTable PointBeregningTables[] = {\n")
foreach(table combined-events.csv age-grading-1.csv age-grading-2.csv youth-points.csv)
    set(tableFile ${PROJECT_SOURCE_DIR}/data/builtin/${table})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tableFile})
    file(READ ${tableFile} tableText)
    string(APPEND pointTablesHeader "    {\"${table}\", R\"zunotable(${tableText})zunotable\"},\n")
endforeach()
string(APPEND pointTablesHeader "};\n")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/PointBeregningTables.h
    CONTENT "${pointTablesHeader}" @ONLY)
