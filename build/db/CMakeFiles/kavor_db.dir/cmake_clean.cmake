file(REMOVE_RECURSE
  "CMakeFiles/kavor_db_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/kavor_db_autogen.dir/ParseCache.txt"
  "kavor_db_autogen"
  "CMakeFiles/kavor_db.dir/connection.cpp.o"
  "CMakeFiles/kavor_db.dir/connection.cpp.o.d"
  "CMakeFiles/kavor_db.dir/cp1250.cpp.o"
  "CMakeFiles/kavor_db.dir/cp1250.cpp.o.d"
  "CMakeFiles/kavor_db.dir/datamodule.cpp.o"
  "CMakeFiles/kavor_db.dir/datamodule.cpp.o.d"
  "CMakeFiles/kavor_db.dir/dataset.cpp.o"
  "CMakeFiles/kavor_db.dir/dataset.cpp.o.d"
  "CMakeFiles/kavor_db.dir/datasetmodel.cpp.o"
  "CMakeFiles/kavor_db.dir/datasetmodel.cpp.o.d"
  "CMakeFiles/kavor_db.dir/decimal.cpp.o"
  "CMakeFiles/kavor_db.dir/decimal.cpp.o.d"
  "CMakeFiles/kavor_db.dir/fb.cpp.o"
  "CMakeFiles/kavor_db.dir/fb.cpp.o.d"
  "CMakeFiles/kavor_db.dir/kavor_db_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/kavor_db.dir/kavor_db_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/kavor_db.dir/message.cpp.o"
  "CMakeFiles/kavor_db.dir/message.cpp.o.d"
  "CMakeFiles/kavor_db.dir/schema.cpp.o"
  "CMakeFiles/kavor_db.dir/schema.cpp.o.d"
  "CMakeFiles/kavor_db.dir/schema_sql.cpp.o"
  "CMakeFiles/kavor_db.dir/schema_sql.cpp.o.d"
  "CMakeFiles/kavor_db.dir/statement.cpp.o"
  "CMakeFiles/kavor_db.dir/statement.cpp.o.d"
  "CMakeFiles/kavor_db.dir/value.cpp.o"
  "CMakeFiles/kavor_db.dir/value.cpp.o.d"
  "libkavor_db.a"
  "libkavor_db.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/kavor_db.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
