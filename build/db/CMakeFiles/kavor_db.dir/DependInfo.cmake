
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/db/connection.cpp" "db/CMakeFiles/kavor_db.dir/connection.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/connection.cpp.o.d"
  "/work/main/db/cp1250.cpp" "db/CMakeFiles/kavor_db.dir/cp1250.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/cp1250.cpp.o.d"
  "/work/main/db/datamodule.cpp" "db/CMakeFiles/kavor_db.dir/datamodule.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/datamodule.cpp.o.d"
  "/work/main/db/dataset.cpp" "db/CMakeFiles/kavor_db.dir/dataset.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/dataset.cpp.o.d"
  "/work/main/db/datasetmodel.cpp" "db/CMakeFiles/kavor_db.dir/datasetmodel.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/datasetmodel.cpp.o.d"
  "/work/main/db/decimal.cpp" "db/CMakeFiles/kavor_db.dir/decimal.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/decimal.cpp.o.d"
  "/work/main/db/fb.cpp" "db/CMakeFiles/kavor_db.dir/fb.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/fb.cpp.o.d"
  "/work/main/build/db/kavor_db_autogen/mocs_compilation.cpp" "db/CMakeFiles/kavor_db.dir/kavor_db_autogen/mocs_compilation.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/kavor_db_autogen/mocs_compilation.cpp.o.d"
  "/work/main/db/message.cpp" "db/CMakeFiles/kavor_db.dir/message.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/message.cpp.o.d"
  "/work/main/db/schema.cpp" "db/CMakeFiles/kavor_db.dir/schema.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/schema.cpp.o.d"
  "/work/main/build/db/schema_sql.cpp" "db/CMakeFiles/kavor_db.dir/schema_sql.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/schema_sql.cpp.o.d"
  "/work/main/db/statement.cpp" "db/CMakeFiles/kavor_db.dir/statement.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/statement.cpp.o.d"
  "/work/main/db/value.cpp" "db/CMakeFiles/kavor_db.dir/value.cpp.o" "gcc" "db/CMakeFiles/kavor_db.dir/value.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
