file(REMOVE_RECURSE
  "CMakeFiles/kavor_db_autogen"
  "kavor_db_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/kavor_db_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
