# Empty dependencies file for kavor-db.
# This may be replaced when dependencies are built.
