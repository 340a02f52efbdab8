file(REMOVE_RECURSE
  "../kavor-db"
  "../kavor-db.pdb"
  "CMakeFiles/kavor-db_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/kavor-db_autogen.dir/ParseCache.txt"
  "kavor-db_autogen"
  "CMakeFiles/kavor-db.dir/kavor-db_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/kavor-db.dir/kavor-db_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/kavor-db.dir/kavor_db.cpp.o"
  "CMakeFiles/kavor-db.dir/kavor_db.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/kavor-db.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
