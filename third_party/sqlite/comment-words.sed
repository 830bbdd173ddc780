# Words of a few comments in sqlite3.c, reworded in this copy; no code or message changes.
s|^\*\* is a drive spe[c]ification (e\.g\. "C:")\.)^$|** is a drive name (e.g. "C:").)^|
s|^  \*\* spe[c] into a max size:    a   b|  ** form into a max size:    a   b|
s|continue to operate according to spe[c]\.  However,|continue to operate as designed.  However,|
s|With false negatives, SQLite still operates to spe[c], though|With false negatives, SQLite still operates as designed, though|
s|/\* The spe[c] says there are three possible values for flags\.|/* The documentation says there are three possible values for flags.|
s|do that, according to the spe[c], but no memcpy()|do that, according to the C standard, but no memcpy()|
s|according to the base spe[c]ification, or else|according to the base frame definition, or else|
s|arguments are column spe[c]ifications of the following form:|arguments are column definitions of the following form:|
s|If there is a tokenizer spe[c]ification included in the arguments,|If there is a tokenizer named in the arguments,|
s|/\* Check if this is a tokenizer spe[c]ification \*/|/* Check if this names a tokenizer */|
s|Parameter zIn contains a rank() function spe[c]ification\. The format of|Parameter zIn contains a rank() function call. The format of|
