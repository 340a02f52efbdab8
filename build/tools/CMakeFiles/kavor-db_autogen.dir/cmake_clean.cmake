file(REMOVE_RECURSE
  "CMakeFiles/kavor-db_autogen"
  "kavor-db_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/kavor-db_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
