# Empty dependencies file for kavor_db.
# This may be replaced when dependencies are built.
