"""The harness of the tests and the benchmark under Wine: the display, the Wine prefix, the
simulated modem, the program, the automation driver that stays running, and the figures of
the paced sends."""
