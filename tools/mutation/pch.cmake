# Loaded by mutate.py through CMAKE_PROJECT_INCLUDE into the mutation build only: precompiles
# the headers nearly every source file of the logic and the windows includes, so that a mutated
# file recompiles in seconds. The project's own build is not affected.
if(NOT COMMAND orve_mutation_pch)
  function(orve_mutation_pch)
    set(headers <QString> <QStringList> <QDir> <QDateTime> <QVariant> <SQLiteCpp/SQLiteCpp.h>
                <optional> <vector> <memory> <functional> <algorithm> <string>)
    target_precompile_headers(orve_core PRIVATE ${headers})
    target_precompile_headers(orve_ui PRIVATE ${headers} <QWidget>)
  endfunction()
  cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL orve_mutation_pch)
endif()
