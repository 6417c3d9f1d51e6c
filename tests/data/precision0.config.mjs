// Rounds every number to an integer: small shapes vanish and thin ones change their size.
export default { floatPrecision: 0 };
