file(REMOVE_RECURSE
  "../kavor"
  "../kavor.pdb"
  "CMakeFiles/kavor_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/kavor_autogen.dir/ParseCache.txt"
  "kavor_autogen"
  "CMakeFiles/kavor.dir/kavor_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/kavor.dir/kavor_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/kavor.dir/main.cpp.o"
  "CMakeFiles/kavor.dir/main.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/kavor.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
