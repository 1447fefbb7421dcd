// placeholder until the driver lands
