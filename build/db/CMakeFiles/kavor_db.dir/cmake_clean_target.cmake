file(REMOVE_RECURSE
  "libkavor_db.a"
)
