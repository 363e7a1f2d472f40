"""python -m zodiakit: the command line (see zodiakit.cli)."""
import sys

from zodiakit.cli import main

if __name__ == "__main__":
    sys.exit(main())
